// Renders the window after the worked example of the README into a PNG:
// window_screenshot OUTPUT.png [details|planner|averages|versions], the
// second argument rendering that companion window instead (the averages
// window with the order-value example typed in, the versions window with
// three homepages; given a file of values, the averages window opens it, and
// a column named after it is taken as what users did before the test). Runs on any platform plugin,
// offscreen too; QT_SCALE_FACTOR=2 renders at twice the density.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <cstdio>

#include "ui/averages_window.h"
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
    void CopyRichText(const QString&, const QString&) override {}
    QString SaveFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseFile(QWidget*, const QString&, const QString&) override { return chosenFile; }
    QString chosenFile;  // the values file the picture opens
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc < 2 || argc > 5) {
        std::fprintf(stderr, "usage: %s OUTPUT.png [details|planner|averages [VALUES.csv [BEFORE]]|versions]\n",
                     argv[0]);
        return 2;
    }
    const QString companion = argc >= 3 ? QString::fromLocal8Bit(argv[2]) : QString();
    SilentDesktop desktop;
    if (argc >= 4) {
        desktop.chosenFile = QString::fromLocal8Bit(argv[3]);
    }
    ambrelay::Kelvory window(desktop);
    window.show();
    const char* counts[][2] = {{"txtViews1", "1000"}, {"txtRspn1", "100"}, {"txtViews2", "1000"}, {"txtRspn2", "130"}};
    for (const auto& [box, text] : counts) {
        window.findChild<QLineEdit*>(QString::fromLatin1(box))->setText(QString::fromLatin1(text));
    }
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    QApplication::processEvents();
    QWidget* shown = &window;
    if (!companion.isEmpty()) {
        // A window manager may not have made the window active yet; the keys
        // go to the active window.
        QApplication::setActiveWindow(&window);
        const bool details = companion == "details", averages = companion == "averages";
        const bool versions = companion == "versions";
        QTest::keyClick(&window, details ? Qt::Key_I : averages ? Qt::Key_A : versions ? Qt::Key_V : Qt::Key_P,
                        details ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        shown = window.findChild<QWidget*>(details    ? "DetailsWindow"
                                           : averages ? "AveragesWindow"
                                           : versions ? "VersionsWindow"
                                                      : "PlannerWindow");
        if (!shown) {
            std::fprintf(stderr, "no %s window\n", qPrintable(companion));
            return 1;
        }
        if (averages && !desktop.chosenFile.isEmpty()) {
            shown->findChild<QPushButton*>(QStringLiteral("openValues"))->click();
            static_cast<ambrelay::AveragesWindow*>(shown)->Values()->WaitForReading();
            if (argc == 5) {
                auto* before = shown->findChild<QComboBox*>(QStringLiteral("covariateColumn"));
                before->setCurrentText(QString::fromLocal8Bit(argv[4]));
                QTest::qWait(400);  // the panel reads again once the choices pause
                static_cast<ambrelay::AveragesWindow*>(shown)->Values()->WaitForReading();
            }
        } else if (versions) {
            const char* rows[][3] = {{"A", "12500", "310"}, {"B", "12480", "355"}, {"C", "12510", "342"}};
            auto* grid = shown->findChild<QTableWidget*>(QStringLiteral("versions"));
            for (int r = 0; r < 3; ++r) {
                for (int c = 0; c < 3; ++c) {
                    grid->setItem(r, c, new QTableWidgetItem(QString::fromLatin1(rows[r][c])));
                }
            }
        } else if (averages) {
            const char* summaries[][2] = {{"n1", "1200"}, {"mean1", "52.30"}, {"sd1", "41.7"},
                                          {"n2", "1180"}, {"mean2", "55.90"}, {"sd2", "44.2"}};
            for (const auto& [box, text] : summaries) {
                shown->findChild<QLineEdit*>(QString::fromLatin1(box))->setText(QString::fromLatin1(text));
            }
        }
        QApplication::processEvents();
    }
    if (!shown->grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
