// judge --csv: a table of tests in, the same table with the verdicts out,
// one batch of rows at a time. The header decides how the table is split and
// how its numbers are written; no row can change that.

#include <algorithm>
#include <istream>
#include <memory>
#include <optional>
#include <ostream>
#include <thread>

#include "cli/commands.h"
#include "tables/csv.h"
#include "cli/table_columns.h"
#include "figures/means_figures.h"
#include "cli/table_rows.h"
#include "cli/text_encoding.h"
#include "cli/worker_pool.h"

namespace ambrelay::cli {
namespace {

// A table in UTF-16 says so with its byte order mark; one in UTF-8 may.
// Whatever the mark says is taken from the stream before the reader starts.
void ReadByteOrderMark(std::istream& in, TableSettings& t)
{
    std::streambuf& bytes = *in.rdbuf();
    const int first = bytes.sgetc();
    if (first != 0xFF && first != 0xFE) {
        return;  // UTF-8's mark, if any, the reader skips itself
    }
    bytes.sbumpc();
    if (bytes.sgetc() == (first == 0xFF ? 0xFE : 0xFF)) {
        bytes.sbumpc();
        t.encoding = first == 0xFF ? Encoding::Utf16LE : Encoding::Utf16BE;
        t.encodingKnown = true;
        t.byteOrderMark = true;
    } else {
        bytes.sungetc();
    }
}

// Rows in UTF-8 or Windows-1252 are turned into UTF-8 as they come. Unless
// the encoding was given, the first text beyond ASCII decides it: valid
// UTF-8 is UTF-8, anything else Windows-1252. Standard input cannot be read
// twice, so a later row that contradicts the decision fails with its line.
class RowDecoder {
public:
    explicit RowDecoder(TableSettings& table) : t_(table) {}

    std::optional<std::string> Decode(std::vector<std::string>& fields)
    {
        if (t_.encoding == Encoding::Utf16LE || t_.encoding == Encoding::Utf16BE) {
            return std::nullopt;  // the stream gave UTF-8 already
        }
        bool valid = true, beyond = false;
        for (const std::string& f : fields) {
            const Utf8Check check = CheckUtf8(f);
            valid = valid && check.valid;
            beyond = beyond || check.beyondAscii;
        }
        if (!beyond) {
            return std::nullopt;
        }
        if (!t_.encodingKnown) {
            t_.encoding = valid ? Encoding::Utf8 : Encoding::Windows1252;
            t_.encodingKnown = true;
        }
        if (t_.encoding == Encoding::Utf8) {
            return valid ? std::nullopt : std::optional<std::string>(says::NotUtf8AsBefore());
        }
        if (valid && !t_.encodingGiven) {
            return says::Utf8AfterWindows1252();
        }
        for (std::string& f : fields) {
            f = Windows1252ToUtf8(f);
        }
        return std::nullopt;
    }

private:
    TableSettings& t_;
};

struct Pending {
    csv::Row row;
    std::optional<std::string> problem;
};

// Rows are judged a batch at a time, the batch shared among the processor's
// cores, and written in their order: the file streams through in bounded memory.
constexpr std::size_t kBatch = 4096;
constexpr std::size_t kPart = 256;

// A batch's rows, and each part's text and figures, kept from batch to batch
// so their memory is reused.
struct Batch {
    std::vector<Pending> rows;
    std::size_t parts = 0;
    std::vector<std::string> out, errors;
    std::vector<FigureList<JudgementFigure>> figures;

    void Split()
    {
        parts = (rows.size() + kPart - 1) / kPart;
        out.resize(std::max(out.size(), parts));
        errors.resize(std::max(errors.size(), parts));
        figures.resize(std::max(figures.size(), parts));
    }
};

}  // namespace

int JudgeTable(std::istream& in, const TableOptions& options, std::ostream& out, std::ostream& err)
{
    TableSettings table;
    if (options.encoding) {
        table.encoding = *options.encoding;
        table.encodingKnown = table.encodingGiven = true;
    }
    ReadByteOrderMark(in, table);
    std::unique_ptr<Utf16Reader> utf16;
    std::unique_ptr<std::istream> decoded;
    if (table.encoding == Encoding::Utf16LE || table.encoding == Encoding::Utf16BE) {
        utf16 = std::make_unique<Utf16Reader>(*in.rdbuf(), table.encoding == Encoding::Utf16BE);
        decoded = std::make_unique<std::istream>(utf16.get());
    }
    csv::Reader reader(decoded ? *decoded : in);
    std::string first;
    long firstLine = 0;
    bool any = csv::NextFilled(reader, first, firstLine);
    if (any && first.size() == 5 && first.rfind("sep=", 0) == 0) {
        table.sepLine = true;
        table.delimiter = first[4];
        any = csv::NextFilled(reader, first, firstLine);
    }
    if (reader.SkippedByteOrderMark()) {
        table.byteOrderMark = true;
        table.encoding = Encoding::Utf8;
        table.encodingKnown = true;
    }
    if (!any) {
        return Usage(err, says::EmptyTable(!options.noHeader));
    }
    if (options.delimiter) {
        table.delimiter = *options.delimiter;
    } else if (!table.sepLine) {
        table.delimiter = csv::HeaderDelimiter(first);
    }
    table.decimalComma = options.decimalComma.value_or(table.delimiter == ';');
    table.format = options.json ? Format::Json : Format::Csv;
    table.kind = options.kind;
    table.better = options.better;
    table.judge = options.judge;
    table.judge.windowTexts = false;  // a table prints the verdict, none of the window's other texts
    reader.SetDelimiter(table.delimiter);

    RowDecoder decoder(table);
    Pending firstRow;
    firstRow.row.fields = csv::SplitRecord(first, table.delimiter);
    firstRow.row.line = firstLine;
    firstRow.problem = decoder.Decode(firstRow.row.fields);
    if (options.noHeader) {
        for (std::size_t i = 0; i < firstRow.row.fields.size(); ++i) {
            table.inputNames.push_back(ExtraName(i));
        }
    } else {
        if (firstRow.problem) {
            return Usage(err, says::HeaderRow(*firstRow.problem));
        }
        table.inputNames = firstRow.row.fields;
    }
    std::string problem;
    const std::optional<CountColumns> columns = FindColumns(table.inputNames, options, problem);
    if (!columns) {
        return Usage(err, problem);
    }
    table.columns = *columns;
    table.resultNames = NamesOf(options.kind == TableKind::Means ? MeansFigureKinds() : JudgementFigureKinds());
    table.resultNames.KeepClearOf(table.inputNames, table.format);
    // JSON is always UTF-8; CSV goes out in the input's own encoding, so a
    // spreadsheet opens it as it opened the input. Text only in ASCII reads
    // the same in UTF-8 and Windows-1252, so a batch written before its
    // encoding was decided is written right.
    const auto write = [&](const std::string& text) {
        const Encoding encoding = table.format == Format::Json ? Encoding::Utf8 : table.encoding;
        out << (encoding == Encoding::Utf8 ? text : FromUtf8(text, encoding));
    };
    if (table.format == Format::Json) {
        table.inputNames = DistinctNames(table.inputNames);
    } else {
        std::string names = table.byteOrderMark ? std::string(ByteOrderMark(table.encoding)) : std::string();
        if (table.byteOrderMark && table.encoding != Encoding::Utf8) {
            out << names;
            names.clear();
        }
        if (table.sepLine) {
            names += std::string("sep=") + table.delimiter + "\r\n";
        }
        std::vector<std::string> all = table.inputNames;
        const std::vector<std::string> results = table.resultNames.All(table.format);
        all.insert(all.end(), results.begin(), results.end());
        csv::AppendRow(names, all, table.delimiter);
        write(names);
    }

    // The output is the same whatever the number of threads: every row is
    // written in its place in the batch. While the threads judge one batch,
    // one of them first writes out the batch before and reads the next, so
    // reading and writing take no time of their own.
    WorkerPool pool(std::max<std::size_t>(options.jobs.value_or(std::thread::hardware_concurrency()), 1) - 1);
    bool anyFailed = false;
    Batch batches[2];
    if (options.noHeader) {
        firstRow.problem = firstRow.problem ? firstRow.problem
                           : reader.UnclosedQuote() ? std::optional<std::string>(says::UnclosedQuote())
                                                    : std::nullopt;
        batches[0].rows.push_back(std::move(firstRow));
    }
    bool more = true;
    const auto readInto = [&](Batch& batch) {
        csv::Row row;
        while (batch.rows.size() < kBatch && more && (more = reader.Next(row))) {
            if (!row.blank) {
                Pending pending{std::move(row), std::nullopt};
                pending.problem = decoder.Decode(pending.row.fields);
                if (!pending.problem && reader.UnclosedQuote()) {
                    pending.problem = says::UnclosedQuote();
                }
                batch.rows.push_back(std::move(pending));
            }
        }
    };
    const auto writeOut = [&](Batch& batch) {
        for (std::size_t part = 0; part < batch.parts; ++part) {
            anyFailed = anyFailed || !batch.errors[part].empty();
            write(batch.out[part]);
            err << batch.errors[part];
        }
        batch.rows.clear();
        batch.parts = 0;
    };
    readInto(batches[0]);
    for (std::size_t now = 0; !batches[now].rows.empty(); now = 1 - now) {
        Batch& batch = batches[now];
        Batch& other = batches[1 - now];
        batch.Split();
        pool.Run(batch.parts + 1, [&](std::size_t task) {
            if (task == 0) {
                writeOut(other);
                readInto(other);
                return;
            }
            // Each part writes into texts of its own stack frame and hands them
            // back at the end: the texts' headers sit side by side in the
            // batch, and threads writing to neighbours would share cache lines.
            const std::size_t part = task - 1;
            std::string out, errors;
            FigureList<JudgementFigure> figures;
            std::swap(out, batch.out[part]);
            std::swap(errors, batch.errors[part]);
            std::swap(figures, batch.figures[part]);
            out.clear();
            errors.clear();
            for (std::size_t i = part * kPart; i < std::min(batch.rows.size(), (part + 1) * kPart); ++i) {
                const Pending& p = batch.rows[i];
                WriteRow(table, p.row, p.problem, out, errors, figures);
            }
            std::swap(out, batch.out[part]);
            std::swap(errors, batch.errors[part]);
            std::swap(figures, batch.figures[part]);
        });
        if (other.rows.empty()) {
            writeOut(batch);
        }
    }
    out.flush();
    return anyFailed ? kNoResult : kResult;
}

}  // namespace ambrelay::cli
