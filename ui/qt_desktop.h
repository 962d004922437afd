#pragma once

#include "ui/desktop.h"

namespace ambrelay {

// The real desktop: QMessageBox, the desktop services' default browser and
// the system clipboard and file dialogs.
class QtDesktop final : public Desktop {
public:
    void ShowMessage(QWidget* owner, const QString& text) override;
    bool OpenAddress(QWidget* owner, const QString& address) override;
    QString InstalledHelpPage() const override;
    void CopyText(const QString& text) override;
    void CopyRichText(const QString& plain, const QString& html) override;
    QString SaveFile(QWidget* owner, const QString& title, const QString& suggested, const QString& filter) override;
    QString ChooseFile(QWidget* owner, const QString& title, const QString& filter) override;
};

}  // namespace ambrelay
