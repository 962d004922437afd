#pragma once
// Planning the next test of rates or of averages: the observations it
// needs, updated as the user types, with each input's problem shown beside
// it in plain words; the plan's figures copied from its context menu. A test
// of averages that takes out what users did before it is planned on the
// spread left, from the correlation with before the test.

#include <QWidget>
#include <optional>

class QComboBox;
class QFormLayout;
class QLabel;
class QLayout;
class QLineEdit;

namespace ambrelay {

class Desktop;
class ReportCopies;

class PlannerWindow final : public QWidget {
    Q_OBJECT

public:
    PlannerWindow(Desktop& desktop, QWidget* owner);

    // Starts the baseline at a ratio (0 to 1), as version A's last result.
    void SetBaseline(double ratio);

    // The observations in all of the plan on show; none while the inputs
    // give no plan.
    std::optional<double> PlannedTotal() const { return plannedTotal_; }

private:
    struct Field {
        QLineEdit* box;
        QLabel* problem;
        QLayout* row;
    };
    Field AddField(const QString& label, const QString& initial, const char* name);
    QComboBox* AddChoice(const QString& label, const QStringList& items, const char* name);
    std::optional<double> Read(const Field& field, bool optional = false);
    void Update();
    void SetAverages(bool averages);
    void ShowPlan(const QString& perVersion, const QString& total, const QString& days);
    void PlanAverages(double effect, double alpha, double power, std::optional<double> daily);

    QFormLayout* form_ = nullptr;
    QComboBox* metric_ = nullptr;
    Field baseline_{}, sd_{}, mean_{}, correlation_{}, effect_{}, alpha_{}, power_{}, share_{}, daily_{};
    QComboBox* kind_ = nullptr;
    QComboBox* sides_ = nullptr;
    QLabel* perVersion_ = nullptr;
    QLabel* total_ = nullptr;
    QLabel* days_ = nullptr;
    std::optional<double> plannedTotal_;
    ReportCopies* copies_ = nullptr;
};

}  // namespace ambrelay
