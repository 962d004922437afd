#pragma once
// The rows of a table of values as they are read, from a file, from a
// frame's columns, or from a part of either: the version each row counts
// for, the blanks counted as 0, the rows left out (the first few by line)
// and the labels in the order met. Parts read apart merge, in their order,
// into what one reading of all their rows gives.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/multiple_comparisons.h"
#include "engine/observations.h"
#include "engine/outcome.h"

namespace ambrelay::tables {

// How many rows' problems are kept by name; beyond, they are counted.
inline constexpr std::size_t kRowProblemsNamed = 10;

// The labels a part of a table keeps for its merge. Only where a part meets
// more than these, and a label the rows before it met comes after them,
// do the parts differ from one reading: a test of so many labels compares
// few of its rows anyway.
inline constexpr std::size_t kLabelsInAPart = 1000;

struct ValuesRead {
    std::vector<std::string> labels;  // the control's first, then each version's in the order met
    double blanks = 0;      // blank values, counted as 0
    double covariateBlanks = 0;  // blank covariates, counted as 0: no activity before the test
    std::size_t rowsLeftOut = 0;
    std::vector<Problem> firstRowsLeftOut;  // the first kRowProblemsNamed, in the file's order, each with its line
    std::optional<Problem> versions;        // why the rows hold no two versions to compare
    ValuesCollector::Result result;  // a summary for each label
};

// A row's cells as read: the value (a ratio's numerator), its denominator,
// the covariate (or its numerator) and the covariate's denominator, each a
// number or why it is none; 0 for a blank value or covariate, 1 for a
// denominator the table does not have.
struct RowCells {
    std::array<Outcome<double>, 4> cells{Outcome<double>(0.0), Outcome<double>(1.0), Outcome<double>(0.0),
                                         Outcome<double>(1.0)};
    bool valueBlank = false, covariateBlank = false;
};

class ValuesTally {
public:
    // The rows of a table whose labels lie in `groupColumn`; the control's
    // label first where one is asked for.
    ValuesTally(std::string groupColumn, std::string control);
    // Rows read again against the labels a reading before found: a row of
    // another label is one beyond the most a test compares.
    ValuesTally(std::string groupColumn, std::string control, std::vector<std::string> labels);

    // The rows of one part of a table read in parts. A part cannot know
    // which of its labels the parts before it met first, so it keeps up to
    // kLabelsInAPart of them, and only the parts merged leave out the
    // labels beyond the most a test compares (Trimmed()).
    static ValuesTally ForPart(std::string groupColumn, std::string control);

    // A row at `line`: the version it counts for, or nothing when it is
    // left out (its label blank or one too many, or a cell no number).
    std::optional<std::size_t> Add(long line, std::string_view label, const RowCells& row);
    // A row the reader could not split into cells.
    void LeaveOut(Problem problem) { LeaveOut(std::move(problem), kNoPlace); }

    // The rows of the part after this one, its lines counted on from
    // `linesBefore`. Returns each of its versions' place here: kNoPlace for
    // one beyond the most a test compares, whose rows are then left out.
    std::vector<std::size_t> Merge(const ValuesTally& later, long linesBefore);

    const std::vector<std::string>& Labels() const { return labels_; }

    // The parts merged as one reading has them: each row of a label beyond
    // the most a test compares left out, as a row it met first would be.
    ValuesTally Trimmed() const;

    // What the rows hold, but for the summaries (the values' collector
    // gives those); or NoSuchVersion when no row named the control asked for.
    Outcome<ValuesRead> Finish() const;

    // The state member by member, for a part that travels between the
    // processes of one build.
    template <typename Visit>
    void Fields(Visit& visit)
    {
        visit(group_, control_, labels_, most_, closed_, firstMet_, versions_, rowsLeftOut_, named_, namedVersions_,
              source_);
    }
    // Where the rows come from, for the words of the versions' problems: a
    // file's column (as made), a frame's (Argument), a test of many (None).
    void Source(NameKind kind) { source_ = kind; }
    NameKind Source() const { return source_; }

    // Whether a state read back hangs together: every list as long as the
    // one it goes with, every place within its list.
    bool Whole() const;

private:
    // The rows of one label.
    struct VersionRows {
        double counted = 0, blanks = 0, covariateBlanks = 0;
        double all = 0, leftOut = 0;  // every row of the label, and those left out for a cell
        std::array<long, kRowProblemsNamed> firstLines{};  // of any of its rows
        std::size_t lines = 0;                            // of firstLines

        template <typename Visit>
        void Fields(Visit& visit)
        {
            visit(counted, blanks, covariateBlanks, all, leftOut, firstLines, lines);
        }
    };

    std::optional<std::size_t> VersionOf(std::string_view label);
    void LeaveOut(Problem problem, std::size_t version);
    Problem TooMany(const std::string& label, long line) const;

    std::string group_, control_;
    std::vector<std::string> labels_;
    std::size_t most_ = kMostVersions;  // labels kept
    bool closed_ = false;    // no label but those given counts
    bool firstMet_ = false;  // a row named the first label (the control's, where asked for)
    std::vector<VersionRows> versions_;
    std::size_t rowsLeftOut_ = 0;
    std::vector<Problem> named_;              // the first rows left out, by line
    std::vector<std::size_t> namedVersions_;  // the version of each, kNoPlace for none
    NameKind source_ = NameKind::Column;
};

}  // namespace ambrelay::tables
