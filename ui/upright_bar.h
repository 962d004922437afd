#pragma once
// A narrow progress bar that fills from the bottom and keeps its value as a
// single-precision number, so a likelihood of 98.214 stays 98.214.

#include <QProgressBar>

namespace ambrelay {

class UprightBar final : public QProgressBar {
    Q_OBJECT

public:
    explicit UprightBar(QWidget* parent = nullptr);

    void SetValue(float value);
    float Value() const { return value_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float value_ = 70.0f;
};

}  // namespace ambrelay
