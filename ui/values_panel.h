#pragma once
// The averages window's file of observations: which columns hold the
// version and the value (or a numerator and a denominator), which version is
// the control, what each user did before the test, the caps and whether
// zeros count, as the command line offers them. The file is read on a thread of its own, so the window never waits
// for it; a change of choice stops a reading in flight and starts anew.

#include <QPointer>
#include <QThread>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "answers/values_answer.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QTimer;

namespace ambrelay {

// What one reading of the file gave: its answer, or why it has none.
struct ValuesFile {
    Outcome<ValuesAnswer> answer = Reason::ReadingStopped;
};

class ValuesPanel final : public QWidget {
    Q_OBJECT

public:
    // `reading` is called as a reading starts, `read` with what it gave.
    ValuesPanel(QWidget* parent, std::function<void()> reading, std::function<void(const ValuesFile&)> read);
    ~ValuesPanel() override;

    // Takes the file at `path`: its header fills the column choices and a
    // reading starts. Why not, with nothing changed, when it cannot be read
    // or has no header.
    std::optional<Problem> Open(const QString& path);

    QString FileName() const;

    // Waits for the reading in flight; for tests and for closing.
    void WaitForReading();

private:
    tables::ValuesLayout Layout() const;
    void ReadAgain();  // after a pause, so typing a percentile reads once
    void StartReading();
    void ShowLabels(const ValuesFile& file);

    std::function<void()> reading_;
    std::function<void(const ValuesFile&)> read_;
    QString path_;
    QLabel* file_ = nullptr;
    QComboBox* group_ = nullptr;
    QComboBox* value_ = nullptr;
    QComboBox* divideBy_ = nullptr;
    QComboBox* control_ = nullptr;
    QComboBox* before_ = nullptr;           // what each user did before the test, or nothing
    QComboBox* beforeDivideBy_ = nullptr;   // its denominator, for a ratio
    QDoubleSpinBox* capBefore_ = nullptr;
    QDoubleSpinBox* capAbove_ = nullptr;
    QDoubleSpinBox* capBelow_ = nullptr;
    QCheckBox* ignoreZeros_ = nullptr;
    QTimer* pause_ = nullptr;
    std::shared_ptr<std::atomic<bool>> stop_;
    std::vector<QPointer<QThread>> threads_;
    int generation_ = 0;
};

}  // namespace ambrelay
