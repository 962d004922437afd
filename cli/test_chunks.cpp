#include "cli/test_chunks.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <utility>

namespace ambrelay::cli {
namespace {

// The test a row belongs to: a row that cannot be read as it stands has no
// test of its own and goes with the rows of the unnamed one.
std::string_view TestOf(const tables::TableRow& row, const VersionColumns& columns)
{
    return row.problem || !columns.test ? std::string_view() : std::string_view(row.fields[*columns.test]);
}

// Whether each test's rows lie together. The tests are told apart by a hash
// of their names, so two names sharing one can only make a table that is
// together look scattered, and so be read whole: slower, never wrong.
bool EachTestTogether(tables::TableReader& reader, const VersionColumns& columns)
{
    std::vector<std::size_t> ended;
    std::string current;
    bool any = false;
    tables::TableRow row;
    while (reader.Next(row)) {
        const std::string_view test = TestOf(row, columns);
        if (!any || test != current) {
            if (any) {
                ended.push_back(std::hash<std::string>()(current));
            }
            current = test;
            any = true;
        }
    }
    if (any) {
        ended.push_back(std::hash<std::string>()(current));
    }
    std::sort(ended.begin(), ended.end());
    return std::adjacent_find(ended.begin(), ended.end()) == ended.end();
}

}  // namespace

TestChunks::TestChunks(std::istream& in, tables::TableReader& reader, const VersionColumns& columns,
                       const tables::Dialect& dialect)
    : columns_(columns), names_(reader.Names()), decimalComma_(reader.Found().decimalComma)
{
    // A table of one test is held whole either way; a pipe cannot be read twice.
    if (columns.test && in.tellg() != std::istream::pos_type(-1)) {
        if (EachTestTogether(reader, columns)) {
            in.clear();
            if (in.seekg(0)) {
                second_ = std::make_unique<tables::TableReader>(in, dialect);
                if (!second_->Start()) {
                    return;
                }
            }
            // Started once already, the file cannot fail to start again
            // unless it changed under us: say so as the first reading would.
            second_.reset();
        }
        // Read once already: what remains is a scattered table, read whole from its start.
        in.clear();
        in.seekg(0);
        tables::TableReader again(in, dialect);
        if (!again.Start()) {
            HoldAll(again);
        }
        return;
    }
    HoldAll(reader);
}

void TestChunks::HoldAll(tables::TableReader& reader)
{
    tables::TableRow row;
    while (reader.Next(row)) {
        VersionRow version = FromRow(row);
        version.place = heldFields_.size();
        heldFields_.push_back(std::move(row.fields));
        held_.Add(std::move(version));
    }
}

TestChunks::~TestChunks() = default;

VersionRow TestChunks::FromRow(tables::TableRow& row) const
{
    VersionRow version;
    version.line = row.line;
    version.problem = row.problem;
    if (!row.problem) {
        version.test = TestOf(row, columns_);
        version.version = row.fields[columns_.version];
        for (const std::size_t at : columns_.cells) {
            version.cells.push_back(tables::ReadCell(row.fields[at], decimalComma_, names_[at]));
        }
    }
    return version;
}

bool TestChunks::Next(std::size_t most, TestChunk& chunk)
{
    chunk.tests.clear();
    chunk.fields.clear();
    const auto add = [&](tables::TableRow& row, bool newTest) {
        VersionRow version = FromRow(row);
        version.place = chunk.fields.size();
        chunk.fields.push_back(std::move(row.fields));
        if (newTest) {
            chunk.tests.emplace_back();
        }
        chunk.tests.back().push_back(std::move(version));
    };
    if (!second_) {
        for (; handed_ < held_.Size() && chunk.tests.size() < most; ++handed_) {
            std::vector<VersionRow>& rows = chunk.tests.emplace_back(held_.Take(handed_));
            for (VersionRow& row : rows) {
                const std::size_t place = std::exchange(row.place, chunk.fields.size());
                chunk.fields.push_back(std::move(heldFields_[place]));
            }
        }
        return !chunk.tests.empty();
    }
    std::string current;
    if (pending_) {
        current = TestOf(*pending_, columns_);
        add(*pending_, true);
        pending_.reset();
    }
    tables::TableRow row;
    while (second_->Next(row)) {
        const std::string_view test = TestOf(row, columns_);
        const bool newTest = chunk.tests.empty() || test != current;
        if (newTest && chunk.tests.size() == most) {
            pending_ = std::move(row);  // the first row of the next chunk's first test
            break;
        }
        if (newTest) {
            current = test;
        }
        add(row, newTest);
    }
    return !chunk.tests.empty();
}

}  // namespace ambrelay::cli
