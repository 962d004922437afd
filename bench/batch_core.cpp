// The command line's own work on a table, without reading or writing it:
// every row's four count texts judged and its figures worked out, on two
// threads, as the table path does between its reader and its writer. The
// Python package's time is held against this.
//   batch_core TABLE.csv   -> "core_seconds S"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include "answers/counts_answer.h"
#include "answers/table_answers.h"
#include "figures/figures.h"
#include "tables/csv.h"
#include "tables/table_reader.h"

using namespace ambrelay;

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s TABLE.csv\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    csv::Reader reader(in);
    csv::Row row;
    reader.Next(row);  // the header: test, views1, responses1, views2, responses2
    std::vector<CountTexts> rows;
    while (reader.Next(row)) {
        if (row.fields.size() == 5) {
            rows.push_back({row.fields[1], row.fields[2], row.fields[3], row.fields[4]});
        }
    }
    const auto start = std::chrono::steady_clock::now();
    std::size_t judged[2] = {0, 0};
    const auto part = [&](std::size_t begin, std::size_t end, std::size_t& count) {
        FigureList<JudgementFigure> figures;
        const JudgeOptions options;
        for (std::size_t i = begin; i < end; ++i) {
            const CountTexts& t = rows[i];
            const auto cell = [&](const std::string& text, int at) {
                return tables::ReadCell(text, false, kCountNames[at]);
            };
            const Outcome<Judgement> judgement = JudgeGiven(cell(t.views1, 0), cell(t.responses1, 1),
                                                            cell(t.views2, 2), cell(t.responses2, 3), options);
            if (judgement && FillJudgementFigures(*judgement, Wording::NumbersOnly, figures)) {
                std::string codes;
                for (const WarningCode code : judgement->Figures().warnings) {
                    codes += WarningCodeName(code);
                }
                count += figures.All().size() + codes.size() > 0 ? 1 : 0;
            }
        }
    };
    const std::size_t half = rows.size() / 2;
    std::thread other([&] { part(half, rows.size(), judged[1]); });
    part(0, half, judged[0]);
    other.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("core_seconds %.3f\ncore_rows_judged %zu\n", seconds, judged[0] + judged[1]);
    return 0;
}
