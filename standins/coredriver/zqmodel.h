// Printer model files of the core driver stand-in: the features, options, public ids, defaults,
// constraints and dependent files of one printer model (format in samples/README.md).
// Standard library only: texts are UTF-8, keywords ASCII compared without case.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zqmodel {

enum class Scope { Document, Device };

// How the core driver shows the feature: a list (list box or combo box), an up-down number,
// an edit text, or no item at all (the feature only has a value).
enum class Kind { List, Combo, Range, Edit, None };

// Public devmode field the option ids of a feature feed.
enum class Field { None, Orientation, Paper, Copies, Source, Quality, Color, Duplex, Collate, Media };

// A display name: text, or a resource id (the core driver then hands out MAKEINTRESOURCE(id) and
// shows the strings file's text for it when there is one).
struct Name {
    std::string text;
    uint16_t resId = 0;
};

struct Option {
    std::string keyword;
    Name name;
    bool hasId = false;
    int32_t id = 0;                    // DMPAPER_*, DMBIN_*, DMMEDIA_*, DMORIENT_*, DMDUP_*, DMCOLOR_* ...
    int32_t width = 0, length = 0;     // paper size, tenths of a millimetre
    int32_t xres = 0, yres = 0;        // resolution, dots per inch
    bool hidden = false;
    bool disabled = false;
};

struct Feature {
    std::string keyword;
    Name name;
    Scope scope = Scope::Document;
    uint8_t pubId = 0;                 // DMPUB_* of the item, 0 for none
    Field field = Field::None;
    Kind kind = Kind::List;
    std::vector<Option> options;
    int defaultOption = 0;
    int32_t rangeMin = 1, rangeMax = 1, rangeDefault = 1;
    std::string editDefault;
    int editMax = 255;                 // characters without the terminator
    std::string checkBoxKeyword;       // two-option feature shown as the item's extended check box
    int checkBox = -1;                 // its index
    bool hidden = false;
    bool disabled = false;
    uint32_t helpIndex = 0;
};

// While `feature` has `option` selected, `otherOption` of `otherFeature` is marked conflicting.
struct Constraint {
    int feature = -1, option = -1, otherFeature = -1, otherOption = -1;
};

struct Model {
    std::string name;                  // model (driver) name
    std::string plugIn;                // UI plug-in DLL, installed in the driver directory
    std::vector<std::string> files;    // dependent files beside the model file
    std::vector<std::string> modules;  // dependent modules from the build, skipped when absent
    std::string stringsFile;           // strings file beside the model, optional
    bool softFonts = false;            // the printer takes downloaded fonts: device settings offer the font installer
    std::string statusText;            // what the printer's status monitor keeps in "ZQSTSSTR", optional
    std::string toolbox;               // the driver's toolbox program among its files, optional
    std::map<uint32_t, std::string> strings;
    std::vector<Feature> features;
    std::vector<Constraint> constraints;

    int FindFeature(std::string_view keyword) const;
    int FindOption(int feature, std::string_view keyword) const;
    // Text of a name: its own text, else the strings file's text of its resource id, else "#id".
    std::string NameText(const Name& name) const;
};

bool EqualNoCase(std::string_view a, std::string_view b);

// "id=text" lines; '#' and ';' start comments.
bool ParseStrings(std::string_view text, std::map<uint32_t, std::string>& out, std::string& error);

// Parses a model; "@id" names are looked up in `strings` (which may be empty when the model names
// no strings file). On failure `error` names the line.
bool ParseModel(std::string_view text, const std::map<uint32_t, std::string>& strings, Model& out,
                std::string& error);

// Only the [Model] section's Strings= value, so the loader can read the strings file first.
std::string FindStringsFile(std::string_view text);

}  // namespace zqmodel
