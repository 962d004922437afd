#pragma once
// A table's rows as they go out: each row's own fields, then the figures of
// one list or more (a judgement's, or a comparison's and its family's), the
// warnings and the error, as CSV in the table's own dialect and encoding or
// as JSON lines, under one header decided before the first row.

#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "figures/machine_text.h"
#include "tables/table_reader.h"

namespace ambrelay::cli {

class TableOutput {
public:
    // The lists' kinds in the order they are written.
    TableOutput(const tables::TableReader& reader, std::vector<std::span<const FigureKind>> lists, bool json);

    // The header (for CSV), in the table's encoding, with its byte order mark and sep= line.
    void WriteHeader(std::ostream& out) const;

    // One row onto `out`: `figures` a list of figures for each list of kinds
    // (empty for none); `warnings` gives the warnings' words, which JSON
    // writes; CSV writes `codes`.
    void AppendRow(const std::vector<std::string>& fields, std::span<const std::vector<Figure>* const> figures,
                   const std::vector<WarningCode>& codes, const std::function<std::vector<Warning>()>& warnings,
                   const std::optional<Problem>& error, std::string& out) const;

    // Text written out in the table's encoding (CSV) or UTF-8 (JSON).
    void Write(std::ostream& out, const std::string& text) const;

private:
    const tables::TableReader& reader_;
    std::vector<std::span<const FigureKind>> lists_;
    std::vector<OutputNames> names_;      // each list's names, none an input's
    std::vector<std::string> inputNames_;  // as JSON keys: a repeated name gets its position
    Format format_;
};

}  // namespace ambrelay::cli
