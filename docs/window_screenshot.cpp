// Renders the window after the worked example of the README into a PNG:
// window_screenshot OUTPUT.png. Runs on any platform plugin, offscreen too.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "ui/desktop.h"
#include "ui/kelvory.h"

namespace {

// The worked example shows no message and opens no page.
class SilentDesktop final : public ambrelay::Desktop {
public:
    void ShowMessage(QWidget*, const QString& text) override
    {
        std::fprintf(stderr, "unexpected message: %s\n", qPrintable(text));
    }
    bool OpenAddress(QWidget*, const QString&) override { return true; }
    QString InstalledHelpPage() const override { return {}; }
    void CopyText(const QString&) override {}
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.png\n", argv[0]);
        return 2;
    }
    SilentDesktop desktop;
    ambrelay::Kelvory window(desktop);
    window.show();
    const char* counts[][2] = {{"txtViews1", "1000"}, {"txtRspn1", "100"}, {"txtViews2", "1000"}, {"txtRspn2", "130"}};
    for (const auto& [box, text] : counts) {
        window.findChild<QLineEdit*>(QString::fromLatin1(box))->setText(QString::fromLatin1(text));
    }
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
