#include "cli/figures_output.h"

#include <ostream>

#include "figures/machine_text.h"

namespace ambrelay::cli {

void WriteFigures(std::span<const KindsAndFigures> lists, bool json, std::ostream& out)
{
    if (!json) {
        std::vector<Figure> all;
        for (const KindsAndFigures& list : lists) {
            all.insert(all.end(), list.figures.begin(), list.figures.end());
        }
        out << FiguresText(all);
        return;
    }
    std::string text;
    JsonWriter writer(text, true);
    writer.BeginObject();
    for (const KindsAndFigures& list : lists) {
        WriteFigures(writer, list.kinds, list.figures, NamesOf(list.kinds));
    }
    writer.EndObject();
    out << text << "\n";
}

}  // namespace ambrelay::cli
