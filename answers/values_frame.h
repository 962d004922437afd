#pragma once
// A frame of one row per user compared as a file of the same rows is
// compared: through the same tally, collector and comparison, one test, or
// many told apart by a test column, each answered alone.

#include <string>
#include <vector>

#include "answers/values_answer.h"
#include "tables/values_frame.h"

namespace ambrelay {

struct FrameTest {
    std::string label;  // the test's, empty for a frame of one test
    Outcome<ValuesAnswer> answer;
};

// Every test of the frame, in the order their first rows come; a frame
// without `tests` is one test. A test's rows keep their places in the frame.
std::vector<FrameTest> CompareValuesFrame(const tables::ValuesFrame& frame, const tables::FrameLabels* tests,
                                          const ValuesRequest& request);

// A test's rows read, answered as a file's are.
Outcome<ValuesAnswer> AnswerOfTally(const tables::ValuesTally& tally, ValuesCollector& values,
                                    const ValuesRequest& request);

// Each row's test, as a place among the tests in the order met: the codes
// of a factorised column become places, none of them -1.
class TestPlaces {
public:
    // Every row in one test when there is no test column.
    TestPlaces(const tables::FrameLabels* tests, std::size_t rows);
    std::size_t Size() const { return labels_.size(); }
    const std::string& Label(std::size_t test) const { return labels_[test]; }
    std::size_t Of(std::size_t row) const { return places_.empty() ? 0 : places_[row]; }

private:
    std::vector<std::string> labels_;
    std::vector<std::size_t> places_;  // by row
};

}  // namespace ambrelay
