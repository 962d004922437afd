#include "cli/figures_output.h"

#include <ostream>

#include "figures/machine_text.h"

namespace ambrelay::cli {

void WriteFigures(std::span<const FigureKind> kinds, const std::vector<Figure>& figures, bool json, std::ostream& out)
{
    if (!json) {
        out << FiguresText(figures);
        return;
    }
    std::string text;
    JsonWriter writer(text, true);
    writer.BeginObject();
    WriteFigures(writer, kinds, figures, NamesOf(kinds));
    writer.EndObject();
    out << text << "\n";
}

}  // namespace ambrelay::cli
