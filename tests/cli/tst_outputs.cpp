// Every output renders the one list of figures: each figure of a judgement
// reaches the report, CSV and JSON, and every JSON key of judge, plan and
// srm keeps one type whatever the input (null standing for no value).

#include <QtTest>
#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "cli/commands.h"
#include "figures/figures.h"
#include "figures/machine_text.h"
#include "figures/result_report.h"
#include "numbers/counts.h"

using namespace ambrelay;
using Json = nlohmann::ordered_json;

namespace {

// A figure's value as the library itself would hold it: whole counts as
// integers, a pair as an array, none as null.
Json LibraryJson(const Figure& f)
{
    const auto number = [&](double x) {
        return (f.kind->unit == Unit::Count || f.kind->unit == Unit::Days) && WholeCount(x)
                   ? Json(static_cast<long long>(x))
                   : Json(x);
    };
    if (const double* x = std::get_if<double>(&f.value)) {
        return number(*x);
    }
    if (const VersionPair* pair = std::get_if<VersionPair>(&f.value)) {
        return Json{number(pair->first), number(pair->second)};
    }
    if (const std::string* text = std::get_if<std::string>(&f.value)) {
        return Json(*text);
    }
    if (const bool* yes = std::get_if<bool>(&f.value)) {
        return Json(*yes);
    }
    return Json(nullptr);
}

// What the library makes of the figures and warnings as one document.
Json LibraryDocument(std::span<const FigureKind> kinds, const std::vector<Figure>& figures,
                     const std::vector<Warning>& warnings)
{
    Json o = Json::object();
    for (const FigureKind& kind : kinds) {
        const Figure* f = figures.empty() ? nullptr : &figures[static_cast<std::size_t>(kind.id)];
        o[kind.key] = f ? LibraryJson(*f) : Json(nullptr);
        if (*kind.intervalKey) {
            o[kind.intervalKey] = f && f->interval ? Json{f->interval->low, f->interval->high} : Json(nullptr);
        }
    }
    Json list = Json::array();
    for (const Warning& w : warnings) {
        list.push_back({{"code", WarningCodeName(w.code)}, {"message", w.message}});
    }
    o["warnings"] = list;
    return o;
}

// What RunCli writes for these arguments and standard input.
std::string Run(const QStringList& args, const std::string& input = {})
{
    std::vector<std::string> words;
    for (const QString& a : args) {
        words.push_back(a.toStdString());
    }
    std::istringstream in(input);
    std::ostringstream out, err;
    cli::RunCli(words, in, out, err);
    return out.str();
}

// The JSON objects in an output: one document, or one a line.
std::vector<Json> Objects(const std::string& text)
{
    std::vector<Json> objects;
    if (text.rfind("{\n", 0) == 0) {
        objects.push_back(Json::parse(text));
        return objects;
    }
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        objects.push_back(Json::parse(line));
    }
    return objects;
}

}  // namespace

class OutputsTest : public QObject {
    Q_OBJECT

private slots:
    void everyFigureReachesEveryOutput_data();
    void everyFigureReachesEveryOutput();
    void everyKeyKeepsOneType_data();
    void everyKeyKeepsOneType();
    void tableJsonIsTheLibrarysJson_data() { everyFigureReachesEveryOutput_data(); }
    void tableJsonIsTheLibrarysJson();
    void textsEscapeAsTheLibraryDoes_data();
    void textsEscapeAsTheLibraryDoes();
    void chosenFiguresAreTheFullOnes_data();
    void chosenFiguresAreTheFullOnes();
};

void OutputsTest::everyFigureReachesEveryOutput_data()
{
    QTest::addColumn<QStringList>("counts");
    QTest::newRow("B wins") << QStringList{"1000", "100", "1000", "130"};
    QTest::newRow("A never responded") << QStringList{"1000", "0", "1000", "30"};
    QTest::newRow("equal ratios") << QStringList{"1000", "100", "500", "50"};
    QTest::newRow("small and uneven") << QStringList{"10", "1", "40", "5"};
    QTest::newRow("fractions, no exact test") << QStringList{"1000.5", "100.5", "1000", "130"};
    QTest::newRow("beyond a billion") << QStringList{"2e9", "2e8", "2e9", "2.0001e8"};
}

void OutputsTest::everyFigureReachesEveryOutput()
{
    QFETCH(QStringList, counts);
    const Judgement j = Judge(ReadCounts({counts[0].toStdString(), counts[1].toStdString(), counts[2].toStdString(),
                                          counts[3].toStdString()}));
    const std::vector<Figure> figures = JudgementFigures(j).All();
    // No key twice, an interval's included.
    std::set<std::string> keys;
    std::size_t named = 0;
    for (const Figure& f : figures) {
        for (const char* key : {f.kind->key, f.kind->intervalKey}) {
            named += *key != '\0';
            if (*key) {
                keys.insert(key);
            }
        }
    }
    QCOMPARE(keys.size(), named);
    const std::string report = ResultReport(j);
    const Json json = Objects(Run(QStringList{"judge"} + counts + QStringList{"--json"})).front();
    const std::string table = "views1,responses1,views2,responses2\n\"" + counts.join("\",\"").toStdString() + "\"\n";
    std::istringstream csv(Run({"judge", "--csv", "-"}, table));
    std::string header, row;
    std::getline(csv, header);
    std::getline(csv, row);
    for (const Figure& f : figures) {
        QVERIFY2(!f.label.empty() && !f.words.empty(), f.kind->key);
        QVERIFY2(report.find("\n" + f.label + ": " + f.words + "\n") != std::string::npos, f.kind->key);
        QVERIFY2(json.contains(f.kind->key), f.kind->key);
        QCOMPARE(json[f.kind->key].dump(), LibraryJson(f).dump());
        QVERIFY2(header.find("," + std::string(f.kind->key) + ",") != std::string::npos, f.kind->key);
        if (*f.kind->intervalKey) {
            QCOMPARE(json[f.kind->intervalKey].is_array(), f.interval.has_value());
            QVERIFY(header.find(std::string(f.kind->intervalKey) + "_low,") != std::string::npos);
        }
        // A number in the CSV row is the exact one JSON carries.
        if (const auto x = f.Number(); x && f.kind->unit != Unit::Count) {
            QVERIFY2(row.find("," + ExactNumber(*x) + ",") != std::string::npos, f.kind->key);
        }
    }
}

void OutputsTest::everyKeyKeepsOneType_data()
{
    QTest::addColumn<QList<QStringList>>("calls");
    QTest::addColumn<QString>("input");
    const QString table = "name,views1,responses1,views2,responses2\n"
                          "ok,1000,100,1000,130\nletters,1000,abc,1000,10\nno views,0,0,1000,10\n"
                          "fraction,1000.5,100.5,1000,130\nuneven,100,10,1000,130\nshort,1000,100\n"
                          "equal,1000,100,1000,100\nhuge,2e9,2e8,2e9,2.0001e8\n";
    QTest::newRow("judge") << QList<QStringList>{{"judge", "1000", "100", "1000", "130", "--json"},
                                                 {"judge", "10", "0", "10", "5", "--json"},
                                                 {"judge", "1000.5", "100.5", "1000", "100", "--json"},
                                                 {"judge", "2e9", "2e8", "2e9", "2.0001e8", "--json"},
                                                 {"judge", "1000", "0", "1000", "30", "--margin", "2%", "--json"},
                                                 {"judge", "100", "10", "100", "12", "--margin-points", "1", "--json"}}
                           << QString();
    QTest::newRow("judge --csv --json") << QList<QStringList>{{"judge", "--csv", "-", "--json"},
                                                              {"judge", "--csv", "-", "--json", "--margin", "5"}}
                                        << table;
    QTest::newRow("plan") << QList<QStringList>{
        {"plan", "--baseline", "10%", "--mde", "20", "--json"},
        {"plan", "--baseline", "10%", "--mde", "20", "--split", "25", "--daily", "1000", "--json"},
        {"plan", "--baseline", "0.5", "--mde", "2.5", "--absolute", "--one-sided", "--json"},
        {"plan", "--baseline", "10%", "--observations", "3841", "--json"},
        {"plan", "--baseline", "10%", "--observations", "3841", "--split", "25", "--daily", "700", "--json"}}
                          << QString();
    QTest::newRow("srm") << QList<QStringList>{{"srm", "1000", "1000", "--json"}, {"srm", "1000", "1500", "--json"},
                                               {"srm", "0", "10", "--split", "20", "--json"}}
                         << QString();
}

void OutputsTest::everyKeyKeepsOneType()
{
    QFETCH(QList<QStringList>, calls);
    QFETCH(QString, input);
    std::map<std::string, std::set<Json::value_t>> types;
    std::set<std::vector<std::string>> keySets;
    const auto kind = [](const Json& value) {
        // A whole number and a fraction are both numbers to a reader of JSON.
        return value.is_number() ? Json::value_t::number_float : value.type();
    };
    for (const QStringList& call : calls) {
        for (const Json& o : Objects(Run(call, input.toStdString()))) {
            std::vector<std::string> keys;
            for (auto it = o.begin(); it != o.end(); ++it) {
                keys.push_back(it.key());
                if (!it.value().is_null()) {
                    types[it.key()].insert(kind(it.value()));
                }
                if (it.value().is_array() && !it.value().empty()) {
                    types[it.key() + "[]"].insert(kind(it.value().front()));
                }
            }
            keySets.insert(keys);
        }
    }
    QVERIFY(!types.empty());
    QCOMPARE(keySets.size(), std::size_t(1));  // every object names the same keys, in the same order
    for (const auto& [key, seen] : types) {
        QVERIFY2(seen.size() == 1, key.c_str());
    }
}

// JSON is written field by field, not built as documents: the bytes must
// be the library's own for the same values, on one line for a table's JSON
// lines and indented for one answer.
void OutputsTest::tableJsonIsTheLibrarysJson()
{
    QFETCH(QStringList, counts);
    const Judgement j = Judge(ReadCounts({counts[0].toStdString(), counts[1].toStdString(), counts[2].toStdString(),
                                          counts[3].toStdString()}));
    const std::span<const FigureKind> kinds = JudgementFigureKinds();
    const OutputNames names = NamesOf(kinds);
    for (const auto& figures : {JudgementFigures(j, Wording::NumbersOnly).All(), std::vector<Figure>()}) {
        const std::vector<Warning> warnings = figures.empty() ? std::vector<Warning>() : JudgementWarnings(j);
        for (const bool indented : {false, true}) {
            std::string written;
            JsonWriter json(written, indented);
            json.BeginObject();
            WriteFigures(json, kinds, figures, names);
            json.Key("warnings");
            WriteWarnings(json, warnings);
            json.EndObject();
            QCOMPARE(written, LibraryDocument(kinds, figures, warnings).dump(indented ? 2 : -1));
        }
    }
}

void OutputsTest::textsEscapeAsTheLibraryDoes_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("plain") << QByteArray("Visitors A");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("backslash") << QByteArray("C:\\data\\tests.csv");
    QTest::newRow("quote") << QByteArray("the \"best\" page");
    QTest::newRow("quote and backslash") << QByteArray("say \"hi\" \\ there");
    QTest::newRow("control characters") << QByteArray("tab\tline\nbell\x07" "del\x7f");
    QTest::newRow("UTF-8") << QByteArray("Größe – 測試");
    QTest::newRow("not UTF-8") << QByteArray("caf\xe9" " \xff\xfe");
    QTest::newRow("delete in the second eight") << QByteArray("abcdefgh\x7f" "ijklmnop");
    QTest::newRow("quote past eight") << QByteArray("abcdefghij\"klmnopqrstu");
    QTest::newRow("backslash at sixteen") << QByteArray("abcdefghijklmnop\\");
    QTest::newRow("UTF-8 past eight") << QByteArray("Verdict: Größe");
}

void OutputsTest::textsEscapeAsTheLibraryDoes()
{
    QFETCH(QByteArray, text);
    const std::string s = text.toStdString();
    std::string written;
    JsonWriter(written, false).Text(s);
    QCOMPARE(written, Json(s).dump(-1, ' ', false, Json::error_handler_t::replace));
}

namespace {

// A CSV output as its header's names and each row's fields by name (the
// fields hold no quotes in these tables).
std::vector<std::map<std::string, std::string>> CsvRows(const std::string& text, std::vector<std::string>& header)
{
    std::istringstream lines(text);
    std::vector<std::map<std::string, std::string>> rows;
    const auto split = [](std::string line) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::string> fields;
        std::istringstream in(line);
        for (std::string field; std::getline(in, field, ',');) {
            fields.push_back(field);
        }
        if (!line.empty() && line.back() == ',') {
            fields.emplace_back();
        }
        return fields;
    };
    std::string line;
    std::getline(lines, line);
    header = split(line);
    while (std::getline(lines, line)) {
        const std::vector<std::string> fields = split(line);
        std::map<std::string, std::string> row;
        for (std::size_t i = 0; i < header.size() && i < fields.size(); ++i) {
            row[header[i]] = fields[i];
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

void OutputsTest::chosenFiguresAreTheFullOnes_data()
{
    QTest::addColumn<QString>("figures");
    QTest::addColumn<QStringList>("columns");  // what the CSV writes, in order, after the inputs
    QTest::newRow("the p values") << "p_two_sided,p_one_sided" << QStringList{"p_two_sided", "p_one_sided"};
    QTest::newRow("an interval brings its figure's") << "lift_ci_percent_high, fisher_p_two_sided"
                                                     << QStringList{"lift_percent", "lift_ci_percent_low",
                                                                    "lift_ci_percent_high", "fisher_p_two_sided"};
    QTest::newRow("window figures and inputs, twice") << "window_z,views1,chance_to_beat,window_z,verdict"
                                                      << QStringList{"window_z", "chance_to_beat", "verdict"};
    QTest::newRow("the peeking-safe test") << "always_valid_ci_points,planned_observations"
                                           << QStringList{"always_valid_difference_points",
                                                          "always_valid_ci_points_low", "always_valid_ci_points_high",
                                                          "planned_observations"};
}

// --figures writes the figures named, in the order named, with the values
// the full output has for them: working out less changes none of them.
void OutputsTest::chosenFiguresAreTheFullOnes()
{
    QFETCH(QString, figures);
    QFETCH(QStringList, columns);
    const std::string table = "test,views1,responses1,views2,responses2\n"
                              "ok,1000,100,1000,130\nsmall,10,1,40,5\nletters,1000,abc,1000,10\n"
                              "fraction,1000.5,100.5,1000,130\nequal,1000,100,1000,100\nlarge,98000,9100,101000,9050\n";
    std::vector<std::string> fullHeader, chosenHeader;
    const auto full = CsvRows(Run({"judge", "--csv", "-"}, table), fullHeader);
    const auto chosen = CsvRows(Run({"judge", "--csv", "-", "--figures", figures}, table), chosenHeader);
    std::vector<std::string> expected = {"test", "views1", "responses1", "views2", "responses2"};
    for (const QString& c : columns) {
        expected.push_back(c.toStdString());
    }
    expected.push_back("warnings");
    expected.push_back("error");
    QCOMPARE(chosenHeader, expected);
    QCOMPARE(chosen.size(), full.size());
    for (std::size_t r = 0; r < full.size(); ++r) {
        for (const std::string& name : expected) {
            QVERIFY2(chosen[r].at(name) == full[r].at(name), (full[r].at("test") + " " + name).c_str());
        }
    }
    // JSON lines and one test's JSON: the same keys' values as the full
    // output, an interval one key where CSV has two columns.
    const std::size_t keys = static_cast<std::size_t>(
        std::count_if(columns.begin(), columns.end(), [](const QString& c) { return !c.endsWith("_high"); }));
    const std::vector<Json> fullLines = Objects(Run({"judge", "--csv", "-", "--json"}, table));
    const std::vector<Json> chosenLines = Objects(Run({"judge", "--csv", "-", "--json", "--figures", figures}, table));
    QCOMPARE(chosenLines.size(), fullLines.size());
    for (std::size_t r = 0; r < fullLines.size(); ++r) {
        QCOMPARE(chosenLines[r].size(), 5 + keys + 2);  // the inputs, the figures, the warnings and the error
        for (auto it = chosenLines[r].begin(); it != chosenLines[r].end(); ++it) {
            QVERIFY2(fullLines[r].contains(it.key()) && fullLines[r][it.key()] == it.value(), it.key().c_str());
        }
    }
    for (const QStringList& counts : {QStringList{"1000", "100", "1000", "130"}, QStringList{"10", "1", "40", "5"}}) {
        const Json all = Objects(Run(QStringList{"judge"} + counts + QStringList{"--json"})).front();
        const Json some = Objects(Run(QStringList{"judge"} + counts + QStringList{"--json", "--figures", figures})).front();
        for (auto it = some.begin(); it != some.end(); ++it) {
            QVERIFY2(all[it.key()] == it.value(), it.key().c_str());
        }
        QCOMPARE(some.size(), 4 + keys + 1);  // the counts, the figures chosen and the warnings

    }
}

QTEST_APPLESS_MAIN(OutputsTest)
#include "tst_outputs.moc"
