// Clear, Help, the Enter key in the input boxes, the pointer over the
// credits and the link.

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

#include "figures/problem_words.h"
#include "ui/accessibility.h"
#include "ui/announcer.h"
#include "ui/desktop.h"
#include "ui/hand_cursor.h"
#include "ui/kelvory.h"
#include "ui/site_addresses.h"
#include "ui/upright_bar.h"

namespace ambrelay {
namespace {

constexpr int kCarriageReturn = 13;

bool IsEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A move that a child did not take is handed on to its parent; only a move
// over the widget's own surface, not over one of its children, counts.
bool IsOverOwnSurface(QWidget* widget, const QMouseEvent* event)
{
    return widget->childAt(event->position().toPoint()) == nullptr;
}

}  // namespace

void Kelvory::ConnectHandlers()
{
    connect(Command1, &QPushButton::clicked, this, &Kelvory::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Kelvory::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Kelvory::Command3_Click);
    for (QObject* watched : std::initializer_list<QObject*>{txtViews1, txtViews2, txtRspn1, txtRspn2, Command1,
                                                           Command2, Command3, Frame1, Label4, Label7, lblLink}) {
        watched->installEventFilter(this);
    }
}

bool Kelvory::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtViews1 || watched == txtViews2 || watched == txtRspn1 || watched == txtRspn2) {
        if (IsEnter(event)) {
            int keyAscii = kCarriageReturn;
            InputBox_KeyPress(keyAscii);
            return keyAscii == 0;  // swallowed: the box never sees the Enter
        }
        return CopiesResultInstead(static_cast<QLineEdit*>(watched), event);
    }
    if (watched == Command1 || watched == Command2 || watched == Command3) {
        // There is no default button: Enter presses the focused one, as Space does.
        if (IsEnter(event) && !static_cast<const QKeyEvent*>(event)->isAutoRepeat()) {
            static_cast<QPushButton*>(watched)->click();
            return true;
        }
        return false;
    }
    if ((watched == Label6 || watched == lblResult) && event->type() == QEvent::MouseButtonDblClick) {
        OpenDetails();
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        const auto* move = static_cast<const QMouseEvent*>(event);
        if (watched == lblLink) {
            SetMousePointer(kHandPointer);
        } else if (watched == Label4 || watched == Label7 || (watched == Frame1 && IsOverOwnSurface(Frame1, move))) {
            SetMousePointer(kDefaultPointer);
        }
        return false;
    }
    if (watched == lblLink && event->type() == QEvent::MouseButtonRelease) {
        const auto* release = static_cast<const QMouseEvent*>(event);
        if (release->button() == Qt::LeftButton && lblLink->rect().contains(release->position().toPoint())) {
            lblLink_Click();
        }
    }
    return false;
}

void Kelvory::mouseMoveEvent(QMouseEvent* event)
{
    if (IsOverOwnSurface(this, event)) {
        SetMousePointer(kDefaultPointer);
    }
    QWidget::mouseMoveEvent(event);
}

void Kelvory::SetMousePointer(int setting)
{
    MousePointer = setting;
    if (setting == kHandPointer) {
        setCursor(HandCursor(devicePixelRatioF()));
    } else {
        unsetCursor();
    }
}

void Kelvory::InputBox_KeyPress(int& KeyAscii)
{
    if (KeyAscii == kCarriageReturn) {
        // Moves on exactly as Tab would, along the window's focus order.
        focusNextPrevChild(true);
        KeyAscii = 0;
    }
}

void Kelvory::Command2_Click()
{
    for (QLineEdit* box : {txtViews1, txtViews2, txtRspn1, txtRspn2}) {
        box->clear();
    }
    lblStar1->hide();
    lblStar2->hide();
    for (QLabel* field : {lblRatio1, lblRatio2, lblPVal, lblZStat}) {
        SetValueCaption(field, QString());
    }
    SetValueCaption(lblResult, QString::fromStdString(InsufficientDataText()));
    for (QLabel* label : {lblWin1a, lblWin1b, lblWin2a, lblWin2b}) {
        label->hide();
    }
    // The bars keep their values; "Go" sets one before it shows a bar again.
    pbar1->hide();
    pbar2->hide();
    ForgetInsights();
    txtViews1->setFocus();
    announcer_->Say(QStringLiteral("The form was cleared."));
}

// Without a browser the request would vanish without a word: the help page
// installed with the program is the next best, and only when that cannot be
// opened either does a message say where to read it.
void Kelvory::OpenOrExplain(const QString& address, const QString& fallback, const QString& explanation)
{
    if (desktop_.OpenAddress(this, address)) {
        return;
    }
    if (!fallback.isEmpty() && desktop_.OpenAddress(this, fallback)) {
        return;
    }
    desktop_.ShowMessage(this, explanation);
}

void Kelvory::Command3_Click()
{
    const QString installed = desktop_.InstalledHelpPage();
    const QString where = installed.isEmpty() ? QString()
                                              : QStringLiteral(" A copy was installed with Ambrelay: ")
                                                    + QUrl(installed).toLocalFile() + QStringLiteral(".");
    OpenOrExplain(kHelpAddress, installed,
                  QStringLiteral("No web browser could be opened. The help page is at ") + kHelpAddress
                      + QStringLiteral(".") + where);
}

void Kelvory::lblLink_Click()
{
    OpenOrExplain(kMakerPageAddress, QString(),
                  QStringLiteral("No web browser could be opened. The Ambrelay web site is at ")
                      + kMakerPageAddress + QStringLiteral("."));
}

}  // namespace ambrelay
