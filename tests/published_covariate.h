#pragma once
// Users whose sums are a published test of what users did before it:
// control n 2,801, ΣY 280, ΣY² 560, ΣX 195, ΣX² 390, ΣXY −18; treatment
// n 2,800, ΣY 205, ΣY² 510, ΣX 110, ΣX² 380, ΣXY −8. Values in steps of 0.5,
// as whole numbers cannot have these sums. R from the sums: θ −0.069566052,
// the adjusted averages 0.101019 and 0.072159, Welch's df 5,593.0, A's lift
// over B 39.4187% (2.5183% to 76.3191%); B's over A −28.8704% (−48.1992% to
// −9.5417%).

#include <QString>
#include <string>

namespace ambrelay::testing {

// A file of values: arm, revenue, pre_revenue.
inline std::string PublishedCovariateFile()
{
    struct Users {
        const char* arm;
        double value, before;
        int count;
    };
    const Users users[] = {
        {"control", 0, 0, 2471},     {"control", 0, 0.5, 1},     {"control", 0, 1.5, 119},
        {"control", 0, 2, 26},       {"control", 0.5, -0.5, 72}, {"control", 1.5, 0, 8},
        {"control", 2, 0, 56},       {"control", 2.5, 0, 48},    {"treatment", 0, 0, 2653},
        {"treatment", 0, 2, 3},      {"treatment", 0, 3, 40},    {"treatment", 0.5, -0.5, 32},
        {"treatment", 2, 0, 5},      {"treatment", 2.5, 0, 44},  {"treatment", 3, 0, 23},
    };
    std::string file = "arm,revenue,pre_revenue\n";
    for (const Users& u : users) {
        for (int i = 0; i < u.count; ++i) {
            file += std::string(u.arm) + "," + QString::number(u.value).toStdString() + ","
                    + QString::number(u.before).toStdString() + "\n";
        }
    }
    return file;
}

}  // namespace ambrelay::testing
