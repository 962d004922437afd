#pragma once
// The program's one window: four counts in, the verdict of the A/B test out.
// The layout lives in kelvory_layout.cpp, the calculation's handler in
// kelvory.cpp, the small commands in kelvory_commands.cpp.

#include <QList>
#include <optional>
#include <QWidget>
#include <QtGlobal>

#include "checks/input_checks.h"
#include "engine/comparison_result.h"
#include "engine/judge.h"
#include "figures/window_view.h"
#include "figures/report_formats.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ambrelay {

class Announcer;
class Desktop;
class DetailsWindow;
class PlannerWindow;
class AveragesWindow;
class VersionsWindow;
class UprightBar;

class Kelvory final : public QWidget {
    Q_OBJECT

public:
    // Window-wide pointer settings.
    static constexpr int kDefaultPointer = 0;
    static constexpr int kHandPointer = 99;

    explicit Kelvory(Desktop& desktop, QWidget* parent = nullptr);

    // The last calculation and the check flags, as kept between events.
    const ComparisonResult& FormVariables() const { return formVariables_; }
    qint16 blankFlag() const { return flags_.BlankFlag; }
    qint16 inverseFlag() const { return flags_.InverseFlag; }
    qint16 numericFlag() const { return flags_.NumericFlag; }
    int mousePointer() const { return MousePointer; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildLayout();
    void FillSystemColours();
    void KeepTextLegible();
    void ConnectHandlers();
    void CentreOnScreen();

    // "Go": checks, calculation, result display.
    void Command1_Click();
    bool InputsPassChecks(const CountTexts& inputs);
    void ShowResult(const ResultView& view);
    CountTexts CurrentInputs() const;
    QLineEdit* BoxFor(Input box) const;

    // The small commands.
    void Command2_Click();
    void Command3_Click();
    void InputBox_KeyPress(int& KeyAscii);  // the four input boxes share it
    void lblLink_Click();
    void OpenOrExplain(const QString& address, const QString& fallback, const QString& explanation);
    void SetMousePointer(int setting);

    // Beyond the verdict: the insights' tooltip and the copyable report.
    void SetUpResultCopy();
    void KeepInsights(const Judgement& judgement);
    void ForgetInsights();
    void CopyResult();
    void CopyResultAsMarkdown();
    bool CopiesResultInstead(const QLineEdit* box, const QEvent* event);

    // The companion windows: the details of the result and the test planner,
    // built on first use.
    void SetUpCompanions();
    void OpenDetails();
    void OpenPlanner();
    void OpenAverages();
    void OpenVersions(bool averages);
    void FollowResult();
    void AddCompanionKeys(QWidget* companion);
    void PlaceBeside(QWidget* companion);
    void ApplyJudgeOptions(const JudgeOptions& options);
    void TakePlannedTotal();

    Desktop& desktop_;

    // Form variables.
    ComparisonResult formVariables_;
    CheckFlags flags_;
    int MousePointer = kHandPointer;
    bool centred_ = false;
    ReportForms report_;  // empty until a calculation has run to the end
    QAction* copyResult_ = nullptr;
    QAction* copyMarkdown_ = nullptr;
    QAction* details_ = nullptr;
    QAction* plan_ = nullptr;
    QAction* averages_ = nullptr;
    QAction* versions_ = nullptr;
    std::optional<Judgement> shown_;  // the finished calculation the window shows
    JudgeOptions judgeOptions_;       // the details window's planned total and margin
    DetailsWindow* detailsWindow_ = nullptr;
    PlannerWindow* plannerWindow_ = nullptr;
    AveragesWindow* averagesWindow_ = nullptr;
    VersionsWindow* versionsWindow_ = nullptr;
    QList<QWidget*> schemeText_;
    Announcer* announcer_ = nullptr;  // what a screen reader says after a command  // drawn in the scheme's text colour where legible

    // Controls, named as everywhere in the program's documents.
    QLabel* lblTitle = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* lblAd1 = nullptr;
    QLineEdit* txtViews1 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtViews2 = nullptr;
    QLabel* lblRspn1 = nullptr;
    QLineEdit* txtRspn1 = nullptr;
    QLabel* lblRspn2 = nullptr;
    QLineEdit* txtRspn2 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QFrame* Line1 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* lblRatio1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblPVal = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* lblRatio2 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* lblZStat = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* lblResult = nullptr;
    QLabel* lblStar1 = nullptr;
    QLabel* lblStar2 = nullptr;
    QLabel* lblWin1a = nullptr;
    QLabel* lblWin1b = nullptr;
    QLabel* lblWin2a = nullptr;
    QLabel* lblWin2b = nullptr;
    UprightBar* pbar1 = nullptr;
    UprightBar* pbar2 = nullptr;
    QFrame* Frame1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lblLink = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label5 = nullptr;
};

}  // namespace ambrelay
