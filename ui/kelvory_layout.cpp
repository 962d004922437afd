// Every control of the window: place, size, font, colours, captions, start
// visibility, stacking and focus order. Sizes are pixels at 96 dots per inch.

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <initializer_list>
#include <limits>

#include "figures/problem_words.h"
#include "ui/accessibility.h"
#include "ui/announcer.h"
#include "ui/kelvory.h"
#include "ui/legible_text.h"
#include "ui/site_addresses.h"
#include "ui/upright_bar.h"
#include "ui/window_look.h"

#ifdef Q_OS_WIN
#ifndef NOMINMAX
#define NOMINMAX  // keeps std::numeric_limits<int>::max() a function call
#endif
#include <windows.h>
#endif

namespace ambrelay {
namespace {

enum class Border { None, Single };

void SetColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

// A filled background; labels on the window colour stay transparent, which
// shows the same colour.
void FillBackground(QWidget* widget, const QColor& colour)
{
    SetColour(widget, QPalette::Window, colour);
    widget->setAutoFillBackground(true);
}

// Captions sit at the top of their box and wrap at word boundaries; what does
// not fit below is cut off at the box's lower edge.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry,
                  Qt::Alignment alignment, Border border = Border::None)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(true);
    label->setMargin(0);
    label->setIndent(0);
    label->setTextFormat(Qt::PlainText);
    if (border == Border::Single) {
        label->setFrameStyle(QFrame::Box | QFrame::Plain);
        label->setLineWidth(1);
    }
    return label;
}

QLineEdit* MakeTextBox(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(geometry);
    box->setFont(look::MsSansSerif(look::kPixels9_75));
    // No length limit: a pasted count is never cut short without a word.
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

UprightBar* MakeBar(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* bar = new UprightBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setGeometry(geometry);
    bar->hide();
    return bar;
}

// Later in the list is drawn on top, so the list is raised from the bottom.
void Stack(std::initializer_list<QWidget*> topFirst)
{
    for (auto it = std::rbegin(topFirst); it != std::rend(topFirst); ++it) {
        (*it)->raise();
    }
}

}  // namespace

namespace look {

QFont CourierNew(int pixels, bool bold, bool underline)
{
    QFont font;
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPixelSize(pixels);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    font.setUnderline(underline);
    return font;
}

QFont MsSansSerif(int pixels, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

namespace {

// A system colour of the user's scheme where the platform has one.
QColor SystemColour([[maybe_unused]] int index, [[maybe_unused]] const QColor& fallback)
{
#ifdef Q_OS_WIN
    const COLORREF c = GetSysColor(index);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
#else
    return fallback;
#endif
}

#ifndef Q_OS_WIN
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INACTIVEBORDER = 11;
#endif

}  // namespace

QColor ThreeDLight() { return SystemColour(COLOR_3DLIGHT, QColor(227, 227, 227)); }

QColor InactiveBorder() { return SystemColour(COLOR_INACTIVEBORDER, QColor(212, 208, 200)); }

}  // namespace look

// The result captions and fields take two colours of the user's scheme
// (inactive border, 3-D light), read again whenever the scheme changes.
void Kelvory::FillSystemColours()
{
    for (QLabel* caption : {Label10, Label1, Label11, Label8, Label2}) {
        FillBackground(caption, look::InactiveBorder());
    }
    for (QLabel* field : {lblRatio1, lblPVal, lblRatio2, lblZStat, Label6, lblResult}) {
        FillBackground(field, look::ThreeDLight());
    }
}

void Kelvory::KeepTextLegible()
{
    // The backgrounds stay as the window defines them whatever the scheme;
    // a dark scheme's near-white text would vanish on them.
    const QColor scheme = QGuiApplication::palette().color(QPalette::WindowText);
    for (QWidget* control : schemeText_) {
        const QColor background =
            control->autoFillBackground() ? control->palette().color(QPalette::Window) : look::kWindowColour;
        SetColour(control, QPalette::WindowText, LegibleOn(background, scheme));
    }
}

void Kelvory::BuildLayout()
{
    using namespace look;
    setObjectName(QStringLiteral("Kelvory"));
    setWindowTitle(QStringLiteral("Ambrelay"));
    // A fixed dialog frame: on Windows a fixed size alone keeps the sizing
    // border, whose edges still offer to resize.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    SetColour(this, QPalette::Window, kWindowColour);
    setFont(CourierNew(kPixels8_25));

    const Qt::Alignment left = Qt::AlignLeft;
    const Qt::Alignment centred = Qt::AlignHCenter;

    lblTitle = MakeLabel(this, "lblTitle", QStringLiteral("Ambrelay"), {0, 8, 345, 25}, centred);
    lblTitle->setFont(CourierNew(kPixels14_25, true));
    SetColour(lblTitle, QPalette::WindowText, kRed);
    Label9 = MakeLabel(this, "Label9", QStringLiteral("V 1.0"), {16, 152, 49, 17}, left);

    lblAd1 = MakeLabel(this, "lblAd1", QStringLiteral("Ver 1 Observations"), {56, 40, 120, 17}, left);
    txtViews1 = MakeTextBox(this, "txtViews1", {56, 56, 100, 25});
    Label3 = MakeLabel(this, "Label3", QStringLiteral("Ver 2 Observations"), {184, 40, 136, 17}, left);
    txtViews2 = MakeTextBox(this, "txtViews2", {184, 56, 100, 25});
    lblRspn1 = MakeLabel(this, "lblRspn1", QStringLiteral("Ver 1 Responses"), {56, 88, 120, 17}, left);
    txtRspn1 = MakeTextBox(this, "txtRspn1", {56, 104, 100, 25});
    lblRspn2 = MakeLabel(this, "lblRspn2", QStringLiteral("Ver 2 Responses"), {184, 88, 120, 17}, left);
    txtRspn2 = MakeTextBox(this, "txtRspn2", {184, 104, 100, 25});
    for (QLabel* caption : {lblAd1, Label3, lblRspn1, lblRspn2}) {
        caption->setFont(MsSansSerif(kPixels8_25, true));
    }

    Command1 = MakeButton(this, "Command1", QStringLiteral("Go"), {96, 136, 65, 25});
    Command2 = MakeButton(this, "Command2", QStringLiteral("Clear"), {176, 136, 65, 25});
    Command3 = MakeButton(this, "Command3", QStringLiteral("Help"), {296, 136, 49, 25});
    Command1->setFont(MsSansSerif(kPixels8_25));
    Command2->setFont(MsSansSerif(kPixels8_25));

    // A one-pixel rule from (16, 168) up to, not including, (328, 168).
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameStyle(QFrame::HLine | QFrame::Plain);
    Line1->setLineWidth(1);
    Line1->setGeometry(16, 168, 312, 1);
    Line1->setAttribute(Qt::WA_TransparentForMouseEvents);

    Label10 = MakeLabel(this, "Label10", QStringLiteral("Ratio A"), {16, 176, 81, 17}, centred);
    lblRatio1 = MakeLabel(this, "lblRatio1", QString(), {16, 192, 81, 25}, centred, Border::Single);
    Label1 = MakeLabel(this, "Label1", QStringLiteral("p Value"), {128, 176, 89, 17}, centred);
    lblPVal = MakeLabel(this, "lblPVal", QString(), {112, 192, 121, 25}, centred, Border::Single);
    lblPVal->setFont(CourierNew(kPixels9_75));
    Label11 = MakeLabel(this, "Label11", QStringLiteral("Ratio B"), {248, 176, 81, 17}, centred);
    lblRatio2 = MakeLabel(this, "lblRatio2", QString(), {248, 192, 81, 25}, centred, Border::Single);
    Label8 = MakeLabel(this, "Label8", QStringLiteral("Z Statistic"), {128, 224, 89, 17}, centred);
    lblZStat = MakeLabel(this, "lblZStat", QString(), {112, 240, 121, 25}, centred, Border::Single);
    Label2 = MakeLabel(this, "Label2", QStringLiteral("Interpretation"), {120, 272, 113, 17}, centred);
    Label6 = MakeLabel(this, "Label6", QString(), {8, 288, 329, 65}, left, Border::Single);
    // Marked as a value field before its first caption, so assistive tools
    // meet it as one from the start.
    lblResult = MakeLabel(this, "lblResult", QString(), {16, 296, 313, 49}, left);
    MakeValueField(lblResult, QStringLiteral("Interpretation"));
    lblResult->setText(QString::fromStdString(InsufficientDataText()));
    lblResult->setFont(CourierNew(kPixels9_75));
    for (QLabel* caption : {Label10, Label1, Label11, Label8, Label2}) {
        caption->setFont(CourierNew(kPixels8_25, true));
    }
    FillSystemColours();

    lblStar1 = MakeLabel(this, "lblStar1", QStringLiteral("*"), {0, 192, 17, 25}, centred);
    lblStar2 = MakeLabel(this, "lblStar2", QStringLiteral("*"), {328, 192, 17, 25}, centred);
    lblWin1a = MakeLabel(this, "lblWin1a", QStringLiteral("Winner!"), {8, 224, 65, 25}, centred);
    lblWin1b = MakeLabel(this, "lblWin1b", QStringLiteral("VER 1"), {0, 248, 81, 33}, centred);
    lblWin2a = MakeLabel(this, "lblWin2a", QStringLiteral("Winner!"), {248, 224, 65, 25}, centred);
    lblWin2b = MakeLabel(this, "lblWin2b", QStringLiteral("Ver 2"), {248, 248, 73, 33}, centred);
    lblStar1->setFont(CourierNew(kPixels14_25, true));
    lblStar2->setFont(CourierNew(kPixels14_25, true));
    for (QLabel* win : {lblWin1a, lblWin2a}) {
        win->setFont(CourierNew(kPixels9_75, true));
    }
    for (QLabel* version : {lblWin1b, lblWin2b}) {
        version->setFont(CourierNew(kPixels15_75, true));
    }
    for (QLabel* winner : {lblWin1a, lblWin1b, lblWin2a, lblWin2b}) {
        SetColour(winner, QPalette::WindowText, kRed);
    }
    for (QLabel* indicator : {lblStar1, lblStar2, lblWin1a, lblWin1b, lblWin2a, lblWin2b}) {
        indicator->hide();
    }
    pbar1 = MakeBar(this, "pbar1", {88, 224, 17, 57});
    pbar2 = MakeBar(this, "pbar2", {328, 224, 17, 57});

    // Credits: a frame without title, its labels placed relative to it.
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(8, 352, 329, 105);
    Frame1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Frame1->setLineWidth(1);
    Frame1->setFont(MsSansSerif(kPixels8_25));
    Label4 = MakeLabel(Frame1, "Label4", QStringLiteral("Made by the Ambrelay developers at"), {8, 16, 305, 17},
                       centred);
    lblLink = MakeLabel(Frame1, "lblLink", kSiteHost, {48, 32, 217, 17}, centred);
    Label7 = MakeLabel(Frame1, "Label7", QStringLiteral("Plain answers for A/B tests, straight from the counts"),
                       {8, 48, 305, 33}, centred);
    Label5 = MakeLabel(Frame1, "Label5", QStringLiteral("\u00a9 2026 the Ambrelay developers"), {56, 80, 209, 17},
                       centred);
    Label4->setFont(CourierNew(kPixels9_75));
    lblLink->setFont(CourierNew(kPixels9_75, true, true));
    SetColour(lblLink, QPalette::WindowText, kBlue);
    Label7->setFont(CourierNew(kPixels9_75, true));

    Stack({Command3, pbar2, pbar1, Command2, Command1, Frame1, txtRspn2, txtRspn1, txtViews2, txtViews1, Label9,
           lblRatio2, lblRatio1, Label11, Label10, lblZStat, Label8, lblStar1, lblStar2, lblWin2b, lblWin2a,
           lblWin1b, lblWin1a, lblResult, Label6, lblPVal, Label2, Label1, Line1, lblRspn1, lblRspn2, Label3,
           lblAd1, lblTitle});
    Stack({Label5, Label7, lblLink, Label4});
    // Inside the interpretation box, a pixel that draws nothing: heard, never seen.
    announcer_ = new Announcer(Label6);
    announcer_->setGeometry(1, 1, 1, 1);
    MakeFrame(this);

    // Down the version 1 column, then down the version 2 column, then the buttons.
    setTabOrder(txtViews1, txtRspn1);
    setTabOrder(txtRspn1, txtViews2);
    setTabOrder(txtViews2, txtRspn2);
    setTabOrder(txtRspn2, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);

    // What a screen reader says for each control.
    txtViews1->setAccessibleName(QStringLiteral("Version 1 observations"));
    txtRspn1->setAccessibleName(QStringLiteral("Version 1 responses"));
    txtViews2->setAccessibleName(QStringLiteral("Version 2 observations"));
    txtRspn2->setAccessibleName(QStringLiteral("Version 2 responses"));
    MakeValueField(lblRatio1, QStringLiteral("Ratio A"));
    MakeValueField(lblPVal, QStringLiteral("p value"));
    MakeValueField(lblRatio2, QStringLiteral("Ratio B"));
    MakeValueField(lblZStat, QStringLiteral("Z statistic"));
    lblStar1->setAccessibleName(QStringLiteral("Ratio A is the higher"));
    lblStar2->setAccessibleName(QStringLiteral("Ratio B is the higher"));
    lblWin1a->setAccessibleName(QStringLiteral("Version 1 wins"));
    lblWin1b->setAccessibleName(QStringLiteral("Version 1"));
    lblWin2a->setAccessibleName(QStringLiteral("Version 2 wins"));
    lblWin2b->setAccessibleName(QStringLiteral("Version 2"));
    pbar1->setAccessibleName(QStringLiteral("Likelihood for version 1"));
    pbar2->setAccessibleName(QStringLiteral("Likelihood for version 2"));
    lblLink->setAccessibleName(QStringLiteral("Ambrelay web site"));
    lblLink->setAccessibleDescription(QStringLiteral("Opens the Ambrelay web site in your browser"));

    // Controls in the "default" text colour on fixed light backgrounds; the
    // borders of the value fields and the rule take the same colour.
    schemeText_ = {Label9,  lblAd1,    Label3,  lblRspn1, lblRspn2, Label10,  lblRatio1, Label1, lblPVal,
                   Label11, lblRatio2, Label8,  lblZStat, Label2,   Label6,   lblResult, lblStar1, lblStar2,
                   Label4,  Label7,    Label5,  Line1};
    KeepTextLegible();

    // Mouse moves reach these only with tracking on; they set the pointer.
    for (QWidget* tracked : std::initializer_list<QWidget*>{this, Frame1, Label4, Label7, lblLink}) {
        tracked->setMouseTracking(true);
    }
}

}  // namespace ambrelay
