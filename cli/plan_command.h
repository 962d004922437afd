#pragma once
// plan and srm: planning a test and checking the split of its observations.

#include <iosfwd>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace ambrelay::cli {

struct PlanOptions {
    std::string baseline, mde, alpha = "0.05", power = "0.8", split = "50", daily, observations;
    std::string sd, mean;  // a test of averages instead of rates
    bool absolute = false, oneSided = false, json = false;

    void Register(CLI::App& plan);
    int Run(std::ostream& out, std::ostream& err) const;

private:
    int RunMeans(std::ostream& out, std::ostream& err) const;
};

int RunSampleRatio(const std::vector<std::string>& observations, const std::string& split, bool json,
                   std::ostream& out, std::ostream& err);

}  // namespace ambrelay::cli
