#pragma once
// A window under test with an observer in place of the desktop: it records
// every message and address instead of showing a box or starting a browser.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <memory>

#include "ui/desktop.h"
#include "ui/kelvory.h"
#include "ui/upright_bar.h"

namespace ambrelay::testing {

class RecordingDesktop final : public Desktop {
public:
    struct Message {
        QString text;
        QString focusWhenShown;  // objectName of the focused control while the box is up
        QString resultWhenShown; // caption of lblResult while the box is up
    };

    void ShowMessage(QWidget* owner, const QString& text) override
    {
        QWidget* focus = owner->focusWidget();
        const auto* result = owner->findChild<QLabel*>(QStringLiteral("lblResult"));
        messages.push_back({text, focus ? focus->objectName() : QString(), result ? result->text() : QString()});
    }

    bool OpenAddress(QWidget* /*owner*/, const QString& address) override
    {
        addresses.push_back(address);
        return !unopenable.contains(address);
    }
    QString InstalledHelpPage() const override { return installedHelp; }
    void CopyText(const QString& text) override { CopyRichText(text, QString()); }
    void CopyRichText(const QString& plain, const QString& html) override
    {
        copied << plain;
        copiedHtml << html;
    }
    QString SaveFile(QWidget*, const QString& title, const QString& name, const QString& filter) override
    {
        saveAsked << title + " | " + name + " | " + filter;
        return savePath;
    }
    QString ChooseFile(QWidget* /*owner*/, const QString& /*title*/, const QString& /*filter*/) override
    {
        return chosenFile;
    }

    QList<Message> messages;
    QStringList addresses;
    QStringList copied;      // the plain text of each copy
    QStringList copiedHtml;  // the HTML beside it; empty for plain text alone
    QStringList saveAsked;   // "title | suggested name | filter" of each save dialog
    QStringList unopenable;  // addresses no browser takes
    QString installedHelp;   // the installed help page's address, if any
    QString chosenFile;      // what the user picks in a file dialog; empty: they cancel
    QString savePath;        // where the user saves; empty: they cancel
};

struct Window {
    Window() : window(std::make_unique<Kelvory>(desktop))
    {
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        (void)QTest::qWaitForWindowExposed(window.get());
    }

    template <typename T = QWidget>
    T* Find(const QString& name) const
    {
        T* widget = window->findChild<T*>(name);
        if (!widget) {
            qFatal("no control named %s", qPrintable(name));
        }
        return widget;
    }

    QLineEdit* Box(const QString& name) const { return Find<QLineEdit>(name); }
    QLabel* Label(const QString& name) const { return Find<QLabel>(name); }
    UprightBar* Bar(const QString& name) const { return Find<UprightBar>(name); }

    // Types the four counts into the boxes, views 1, responses 1, views 2, responses 2.
    void Enter(const QString& views1, const QString& responses1, const QString& views2,
               const QString& responses2) const
    {
        Box("txtViews1")->setText(views1);
        Box("txtRspn1")->setText(responses1);
        Box("txtViews2")->setText(views2);
        Box("txtRspn2")->setText(responses2);
    }

    void Go() const { Find<QPushButton>("Command1")->click(); }
    void Clear() const { Find<QPushButton>("Command2")->click(); }

    QString FocusName() const
    {
        QWidget* focus = window->focusWidget();
        return focus ? focus->objectName() : QString();
    }

    // The visible controls among the result indicators, in a fixed order.
    QStringList VisibleIndicators() const
    {
        QStringList shown;
        for (const char* name : {"lblStar1", "lblStar2", "lblWin1a", "lblWin1b", "lblWin2a", "lblWin2b", "pbar1",
                                 "pbar2"}) {
            if (Find(QString::fromLatin1(name))->isVisibleTo(window.get())) {
                shown << QString::fromLatin1(name);
            }
        }
        return shown;
    }

    RecordingDesktop desktop;
    std::unique_ptr<Kelvory> window;
};

}  // namespace ambrelay::testing
