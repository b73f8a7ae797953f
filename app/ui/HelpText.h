#pragma once
// The fixed texts of the instruction, base-flow instruction and references
// windows, as pages of blocks that the windows lay out top to bottom.
#include <vector>

#include "platform/ui/Artwork.h"

namespace velmora::help {

enum class Kind {
    Heading,    // a heading line
    Text,       // a paragraph
    Formula,    // a formula or condition, set apart in a fixed-width font
    Note,       // an emphasised remark
    Picture,    // a drawing with its caption (text)
    Icons,      // a row of toolbar icons (keys) with their caption (text)
    UnitTable,  // the table of the three unit systems
};

struct Block {
    Kind kind;
    const char* text = "";                    // UTF-8
    art::Picture picture = art::Picture::Rocket;
    std::vector<const char*> keys = {};       // toolbar keys of an Icons block
};

struct Page {
    const char* tab;
    std::vector<Block> blocks;
};

// The seven tabs of the instructions window.
const std::vector<Page>& instructionPages();
// The four tabs of the base-flow instructions window.
const std::vector<Page>& baseFlowPages();

// Column heads and row heads of the unit table.
const std::vector<const char*>& unitTableColumns();
const std::vector<const char*>& unitTableRows();

// The eighteen bibliography entries, each "title, author, year".
const std::vector<const char*>& references();
// The lines of the panel beside the bibliography.
const std::vector<const char*>& relatedWork();

} // namespace velmora::help
