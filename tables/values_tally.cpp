#include "tables/values_tally.h"

#include <algorithm>
#include <numeric>

#include "engine/multiple_comparisons.h"
#include "tables/table_reader.h"

namespace ambrelay::tables {

ValuesTally::ValuesTally(std::string groupColumn, std::string control)
    : group_(std::move(groupColumn)), control_(std::move(control))
{
    if (!control_.empty()) {
        labels_.push_back(control_);
        versions_.emplace_back();
    }
}

ValuesTally::ValuesTally(std::string groupColumn, std::string control, std::vector<std::string> labels)
    : group_(std::move(groupColumn)), control_(std::move(control)), labels_(std::move(labels)), closed_(true),
      versions_(labels_.size())
{
}

ValuesTally ValuesTally::ForPart(std::string groupColumn, std::string control)
{
    ValuesTally part(std::move(groupColumn), std::move(control));
    part.most_ = kLabelsInAPart;
    return part;
}

std::optional<std::size_t> ValuesTally::VersionOf(std::string_view label)
{
    const auto at = std::find(labels_.begin(), labels_.end(), label);
    if (at != labels_.end()) {
        firstMet_ = firstMet_ || at == labels_.begin();
        return static_cast<std::size_t>(at - labels_.begin());
    }
    if (closed_ || labels_.size() >= most_) {
        return std::nullopt;
    }
    firstMet_ = firstMet_ || labels_.empty();
    labels_.emplace_back(label);
    versions_.emplace_back();
    return labels_.size() - 1;
}

Problem ValuesTally::TooMany(const std::string& label, long line) const
{
    Problem many(Reason::TooManyVersions, NameKind::Column, group_, label);
    many.count = kMostVersions + 1;
    many.expected = kMostVersions;
    many.line = line;
    return many;
}

void ValuesTally::LeaveOut(Problem problem, std::size_t version)
{
    if (named_.size() < kRowProblemsNamed) {
        named_.push_back(std::move(problem));
        namedVersions_.push_back(version);
    }
    ++rowsLeftOut_;
}

std::optional<std::size_t> ValuesTally::Add(long line, std::string_view label, const RowCells& row)
{
    if (BlankCell(label)) {
        Problem unlabelled(Reason::NoVersionLabel, NameKind::Column, group_);
        unlabelled.line = line;
        LeaveOut(std::move(unlabelled));
        return std::nullopt;
    }
    // The label is the version's even on a row whose value cannot be read.
    const std::optional<std::size_t> version = VersionOf(label);
    if (!version) {
        LeaveOut(TooMany(std::string(label), line));
        return std::nullopt;
    }
    VersionRows& rows = versions_[*version];
    ++rows.all;
    if (rows.lines < kRowProblemsNamed) {
        rows.firstLines[rows.lines++] = line;
    }
    const auto unread = std::find_if(row.cells.begin(), row.cells.end(), [](const auto& c) { return !c; });
    if (unread != row.cells.end()) {
        Problem problem = unread->Failure();
        problem.line = line;
        ++rows.leftOut;
        LeaveOut(std::move(problem), *version);
        return std::nullopt;
    }
    ++rows.counted;
    rows.blanks += row.valueBlank ? 1 : 0;
    rows.covariateBlanks += row.covariateBlank ? 1 : 0;
    return version;
}

bool ValuesTally::Whole() const
{
    const auto placed = [&](std::size_t v) { return v == kNoPlace || v < versions_.size(); };
    return labels_.size() == versions_.size() && named_.size() == namedVersions_.size()
           && named_.size() <= kRowProblemsNamed && std::all_of(namedVersions_.begin(), namedVersions_.end(), placed)
           && std::all_of(versions_.begin(), versions_.end(),
                          [](const VersionRows& v) { return v.lines <= kRowProblemsNamed; });
}

std::vector<std::size_t> ValuesTally::Merge(const ValuesTally& later, long linesBefore)
{
    firstMet_ = firstMet_ || later.firstMet_;
    std::vector<std::size_t> placeOf;
    std::vector<Problem> theirs;
    std::vector<std::size_t> theirVersions;
    for (std::size_t v = 0; v < later.labels_.size(); ++v) {
        const std::string& label = later.labels_[v];
        const auto at = std::find(labels_.begin(), labels_.end(), label);
        std::size_t place = static_cast<std::size_t>(at - labels_.begin());
        if (at == labels_.end()) {
            place = kNoPlace;
            if (!closed_ && labels_.size() < most_) {
                labels_.push_back(label);
                versions_.emplace_back();
                place = labels_.size() - 1;
            }
        }
        placeOf.push_back(place);
        const VersionRows& from = later.versions_[v];
        if (place == kNoPlace) {
            // A version too many here: every row of it is left out, the first by line.
            rowsLeftOut_ += static_cast<std::size_t>(from.all - from.leftOut);
            for (std::size_t i = 0; i < from.lines; ++i) {
                theirs.push_back(TooMany(label, from.firstLines[i] + linesBefore));
                theirVersions.push_back(kNoPlace);
            }
            continue;
        }
        VersionRows& into = versions_[place];
        into.counted += from.counted;
        into.blanks += from.blanks;
        into.covariateBlanks += from.covariateBlanks;
        into.all += from.all;
        into.leftOut += from.leftOut;
        for (std::size_t i = 0; i < from.lines && into.lines < kRowProblemsNamed; ++i) {
            into.firstLines[into.lines++] = from.firstLines[i] + linesBefore;
        }
    }
    for (std::size_t i = 0; i < later.named_.size(); ++i) {
        const std::size_t v = later.namedVersions_[i];
        if (v != kNoPlace && placeOf[v] == kNoPlace) {
            continue;  // said again above as a version too many
        }
        theirs.push_back(later.named_[i]);
        theirs.back().line += linesBefore;
        theirVersions.push_back(v == kNoPlace ? kNoPlace : placeOf[v]);
    }
    // The later part's first problems: of its own first ones, and of its versions' first rows.
    std::vector<std::size_t> order(theirs.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return theirs[a].line < theirs[b].line; });
    for (const std::size_t i : order) {
        if (named_.size() == kRowProblemsNamed) {
            break;
        }
        named_.push_back(std::move(theirs[i]));
        namedVersions_.push_back(theirVersions[i]);
    }
    rowsLeftOut_ += later.rowsLeftOut_;
    return placeOf;
}

ValuesTally ValuesTally::Trimmed() const
{
    ValuesTally kept = *this;
    kept.most_ = kMostVersions;
    if (labels_.size() <= kMostVersions) {
        return kept;
    }
    kept.labels_.resize(kMostVersions);
    kept.versions_.resize(kMostVersions);
    // The first problems: those of the labels kept, and every row of the others by its line.
    std::vector<Problem> named;
    for (std::size_t i = 0; i < named_.size(); ++i) {
        if (namedVersions_[i] == kNoPlace || namedVersions_[i] < kMostVersions) {
            named.push_back(named_[i]);
        }
    }
    for (std::size_t v = kMostVersions; v < labels_.size(); ++v) {
        const VersionRows& rows = versions_[v];
        kept.rowsLeftOut_ += static_cast<std::size_t>(rows.all - rows.leftOut);
        for (std::size_t i = 0; i < rows.lines; ++i) {
            named.push_back(TooMany(labels_[v], rows.firstLines[i]));
        }
    }
    std::stable_sort(named.begin(), named.end(), [](const Problem& a, const Problem& b) { return a.line < b.line; });
    if (named.size() > kRowProblemsNamed) {
        named.erase(named.begin() + kRowProblemsNamed, named.end());
    }
    kept.named_ = std::move(named);
    // Which version a problem is of matters only to merges, which come before.
    kept.namedVersions_.assign(kept.named_.size(), kNoPlace);
    return kept;
}

Outcome<ValuesRead> ValuesTally::Finish() const
{
    if (!control_.empty() && !firstMet_) {
        // Every other row would have been another version: the one reason is said once.
        Problem missing(Reason::NoSuchVersion, source_, group_, control_);
        missing.names.assign(labels_.begin() + 1, labels_.end());
        return missing;
    }
    ValuesRead read;
    read.labels = labels_;
    for (const VersionRows& rows : versions_) {
        read.blanks += rows.blanks;
        read.covariateBlanks += rows.covariateBlanks;
    }
    read.rowsLeftOut = rowsLeftOut_;
    read.firstRowsLeftOut = named_;
    const bool controlCounted = !versions_.empty() && versions_[0].counted > 0;
    if (read.labels.size() < 2 || !controlCounted) {
        if (read.labels.empty() && control_.empty()) {
            read.versions = Problem(Reason::NoValueRows, source_, group_);
        } else if (read.labels.size() == 1 && control_.empty()) {
            read.versions = Problem(Reason::OneVersionOnly, source_, group_);
            read.versions->names = {read.labels[0]};
        } else {
            // Another version is named, but no row of the control could be counted.
            read.versions = Problem(Reason::ControlAndOtherNeeded, source_, group_,
                                    control_.empty() ? read.labels[0] : control_);
        }
    }
    return read;
}

}  // namespace ambrelay::tables
