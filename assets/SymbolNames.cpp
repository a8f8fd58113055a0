#include "assets/SymbolNames.h"

namespace {
struct Names {
    const char* english;
    const char* german;
};

// In image-number order, as art/symbols/NN.svg draws them.
constexpr Names Symbols[SymbolCount] = {
    {"four-coloured square", "vierfarbiges Quadrat"},
    {"green-blue grid", "grün-blaues Gitter"},
    {"white checkerboard", "weißes Schachbrett"},
    {"purple rough octagon", "violettes raues Achteck"},
    {"smiling face", "lachendes Gesicht"},
    {"striped scribble", "gestreiftes Gekritzel"},
    {"red octagon with star", "rotes Achteck mit Stern"},
    {"orange knot", "orange Knoten"},
    {"turquoise sun", "türkise Sonne"},
    {"turquoise octagon", "türkises Achteck"},
    {"shattered triangle", "zersplittertes Dreieck"},
    {"pink starburst", "rosa Strahlenstern"},
    {"yin-yang", "Yin-Yang"},
    {"small orange disc", "kleine orange Scheibe"},
    {"red meander", "roter Mäander"},
    {"striped pyramid", "gestreifte Pyramide"},
    {"blue square in a red frame", "blaues Quadrat im roten Rahmen"},
    {"green pentagon", "grünes Fünfeck"},
    {"green scribble", "grünes Gekritzel"},
    {"cracked magenta square", "rissiges Magentaquadrat"},
    {"stained glass", "Bleiglasfenster"},
    {"yellow spiral", "gelbe Spirale"},
    {"ball of wool", "Wollknäuel"},
    {"tilted square", "gekipptes Quadrat"},
    {"angular spiral", "eckige Spirale"},
    {"lilac rough square", "fliederfarbenes raues Quadrat"},
    {"red-brown blob", "rotbrauner Klecks"},
};
} // namespace

QString SymbolName(int image, bool german)
{
    if (image < 1 || image > SymbolCount)
        return {};
    const Names& names = Symbols[image - 1];
    return QString::fromUtf8(german ? names.german : names.english);
}
