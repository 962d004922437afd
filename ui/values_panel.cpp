#include "ui/values_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QPointer>
#include <QSignalBlocker>
#include <QThread>
#include <QTimer>

#include "tables/input_file.h"

namespace ambrelay {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The column whose name is one of `likely`, else the first not taken.
int Likely(const std::vector<std::string>& names, std::initializer_list<const char*> likely, int taken)
{
    for (const char* name : likely) {
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (QString::fromStdString(names[i]).trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0) {
                return static_cast<int>(i);
            }
        }
    }
    return taken == 0 && names.size() > 1 ? 1 : 0;
}

QDoubleSpinBox* Percentile(QWidget* parent, const char* name)
{
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(0, 99.99);
    box->setDecimals(2);
    box->setSuffix(QStringLiteral(" %"));
    box->setSpecialValueText(QStringLiteral("None"));  // at 0: no cap
    return box;
}

}  // namespace

ValuesPanel::ValuesPanel(QWidget* parent, std::function<void()> reading, std::function<void(const ValuesFile&)> read)
    : QWidget(parent), reading_(std::move(reading)), read_(std::move(read))
{
    auto* form = new QFormLayout(this);
    form->setContentsMargins(0, 0, 0, 0);
    file_ = new QLabel(this);
    file_->setObjectName(QStringLiteral("valuesFile"));
    file_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    group_ = new QComboBox(this);
    group_->setObjectName(QStringLiteral("groupColumn"));
    value_ = new QComboBox(this);
    value_->setObjectName(QStringLiteral("valueColumn"));
    divideBy_ = new QComboBox(this);
    divideBy_->setObjectName(QStringLiteral("denominatorColumn"));
    control_ = new QComboBox(this);
    control_->setObjectName(QStringLiteral("controlLabel"));
    before_ = new QComboBox(this);
    before_->setObjectName(QStringLiteral("covariateColumn"));
    before_->setToolTip(QStringLiteral("The same metric measured before the test, for the same users: taking it out "
                                       "cuts the noise (CUPED). Not for new users, who did nothing before."));
    beforeDivideBy_ = new QComboBox(this);
    beforeDivideBy_->setObjectName(QStringLiteral("covariateDenominatorColumn"));
    capBefore_ = Percentile(this, "capCovariate");
    capAbove_ = Percentile(this, "capAbove");
    capBelow_ = Percentile(this, "capBelow");
    ignoreZeros_ = new QCheckBox(QStringLiteral("Take the percentiles over the values other than 0"), this);
    ignoreZeros_->setObjectName(QStringLiteral("ignoreZeros"));
    form->addRow(QStringLiteral("File:"), file_);
    form->addRow(QStringLiteral("&Version column:"), group_);
    form->addRow(QStringLiteral("Va&lue column:"), value_);
    form->addRow(QStringLiteral("&Divided by:"), divideBy_);
    form->addRow(QStringLiteral("&Control (A):"), control_);
    form->addRow(QStringLiteral("Cap values a&bove the percentile:"), capAbove_);
    form->addRow(QStringLiteral("&Raise values below the percentile:"), capBelow_);
    form->addRow(QString(), ignoreZeros_);
    form->addRow(QStringLiteral("Be&fore the test:"), before_);
    form->addRow(QStringLiteral("Before the test, divided b&y:"), beforeDivideBy_);
    form->addRow(QStringLiteral("Cap before-test values above the percen&tile:"), capBefore_);

    pause_ = new QTimer(this);
    pause_->setSingleShot(true);
    pause_->setInterval(300);
    connect(pause_, &QTimer::timeout, this, &ValuesPanel::StartReading);
    for (QComboBox* box : {group_, value_, divideBy_, control_, before_, beforeDivideBy_}) {
        connect(box, &QComboBox::currentIndexChanged, this, &ValuesPanel::ReadAgain);
    }
    for (QDoubleSpinBox* box : {capAbove_, capBelow_, capBefore_}) {
        connect(box, &QDoubleSpinBox::valueChanged, this, &ValuesPanel::ReadAgain);
    }
    connect(ignoreZeros_, &QCheckBox::toggled, this, &ValuesPanel::ReadAgain);
}

ValuesPanel::~ValuesPanel()
{
    if (stop_) {
        stop_->store(true);
    }
    for (const QPointer<QThread>& thread : threads_) {
        if (thread) {
            thread->wait();
        }
    }
}

std::optional<Problem> ValuesPanel::Open(const QString& path)
{
    Outcome<tables::InputFile> in = tables::OpenInput(path.toStdString());
    if (!in) {
        return in.Failure();
    }
    const Outcome<std::vector<std::string>> names = tables::ReadHeader(*in, {});
    if (!names) {
        return names.Failure();
    }
    path_ = path;
    file_->setText(QFileInfo(path).fileName());
    {
        const QSignalBlocker blocks[] = {QSignalBlocker(group_),  QSignalBlocker(value_),
                                         QSignalBlocker(divideBy_), QSignalBlocker(control_),
                                         QSignalBlocker(before_), QSignalBlocker(beforeDivideBy_)};
        for (QComboBox* box : {group_, value_, divideBy_, before_, beforeDivideBy_}) {
            box->clear();
        }
        divideBy_->addItem(QStringLiteral("Nothing: one value a user"));
        before_->addItem(QStringLiteral("Nothing: compare the values as they are"));
        beforeDivideBy_->addItem(QStringLiteral("Nothing: one value a user"));
        for (const std::string& name : *names) {
            for (QComboBox* box : {group_, value_, divideBy_, before_, beforeDivideBy_}) {
                box->addItem(Text(name));
            }
        }
        const int group = Likely(*names, {"group", "version", "variant", "arm"}, -1);
        group_->setCurrentIndex(group);
        value_->setCurrentIndex(Likely(*names, {"value", "revenue"}, group));
        control_->clear();
        control_->addItem(QStringLiteral("The first in the file"));
    }
    StartReading();
    return std::nullopt;
}

QString ValuesPanel::FileName() const { return file_->text(); }

tables::ValuesLayout ValuesPanel::Layout() const
{
    tables::ValuesLayout layout;
    // Columns by position, so two columns of one name stay apart.
    layout.group = std::to_string(group_->currentIndex() + 1);
    const std::string value = std::to_string(value_->currentIndex() + 1);
    if (divideBy_->currentIndex() > 0) {
        layout.numerator = value;
        layout.denominator = std::to_string(divideBy_->currentIndex());
    } else {
        layout.value = value;
    }
    if (control_->currentIndex() > 0) {
        layout.control = control_->currentText().toStdString();
    }
    if (before_->currentIndex() > 0) {
        const std::string before = std::to_string(before_->currentIndex());
        if (beforeDivideBy_->currentIndex() > 0) {
            layout.covariateNumerator = before;
            layout.covariateDenominator = std::to_string(beforeDivideBy_->currentIndex());
        } else {
            layout.covariate = before;
        }
        if (capBefore_->value() > 0) {
            layout.caps.covariateUpperPercent = capBefore_->value();
        }
    }
    if (capAbove_->value() > 0) {
        layout.caps.upperPercent = capAbove_->value();
    }
    if (capBelow_->value() > 0) {
        layout.caps.lowerPercent = capBelow_->value();
    }
    layout.caps.ignoreZeros = ignoreZeros_->isChecked();
    return layout;
}

void ValuesPanel::ReadAgain()
{
    if (!path_.isEmpty()) {
        reading_();
        pause_->start();
    }
}

void ValuesPanel::StartReading()
{
    pause_->stop();
    if (stop_) {
        stop_->store(true);
    }
    stop_ = std::make_shared<std::atomic<bool>>(false);
    auto file = std::make_shared<ValuesFile>();
    ValuesRequest request;
    request.layout = Layout();
    QThread* thread = QThread::create([file, request, stop = stop_, path = path_.toStdString()] {
        Outcome<tables::InputFile> in = tables::OpenInput(path);
        file->answer = in ? CompareValuesFile(*in, request, stop.get()) : Outcome<ValuesAnswer>(in.Failure());
    });
    const int generation = ++generation_;
    connect(thread, &QThread::finished, this, [this, thread, file, generation] {
        std::erase(threads_, thread);
        if (generation == generation_) {
            ShowLabels(*file);
            read_(*file);
        }
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    threads_.push_back(thread);
    reading_();
    thread->start();
}

// The control's choices: the first in the file, or either version's label.
void ValuesPanel::ShowLabels(const ValuesFile& file)
{
    if (!file.answer) {
        return;
    }
    const tables::ValuesRead* read = &file.answer->read;
    const QSignalBlocker block(control_);
    const QString chosen = control_->currentIndex() > 0 ? control_->currentText() : QString();
    while (control_->count() > 1) {
        control_->removeItem(1);
    }
    for (const std::string& label : read->labels) {
        control_->addItem(Text(label));
    }
    control_->setCurrentIndex(chosen.isEmpty() ? 0 : std::max(0, control_->findText(chosen)));
}

void ValuesPanel::WaitForReading()
{
    if (pause_->isActive()) {
        StartReading();
    }
    while (!threads_.empty()) {
        if (threads_.back()) {
            threads_.back()->wait();
        }
        // Delivers the result (or drops a stale one), which forgets the thread.
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
}

}  // namespace ambrelay
