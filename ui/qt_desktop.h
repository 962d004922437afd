#pragma once

#include "ui/desktop.h"

namespace ambrelay {

// The real desktop: QMessageBox and the desktop services' default browser.
class QtDesktop final : public Desktop {
public:
    void ShowMessage(QWidget* owner, const QString& text) override;
    void OpenAddress(QWidget* owner, const QString& address) override;
};

}  // namespace ambrelay
