#include "lwo2/layer_codes.h"

#include <algorithm>
#include <climits>

#include "core/identifier.h"
#include "core/number_format.h"
#include "lwo2/context.h"

namespace vx {

namespace {

constexpr std::size_t kMaxComponentName = 31;

// Position just past the ")" that closes the name opened at `open`, or the end.
std::size_t pastName(std::string_view codes, std::size_t open) {
    std::size_t close = codes.find(')', open + 1);
    return close == std::string_view::npos ? codes.size() : close + 1;
}

std::string_view nameAt(std::string_view codes, std::size_t open) {
    std::size_t close = codes.find(')', open + 1);
    if (close == std::string_view::npos) close = codes.size();
    return codes.substr(open + 1, close - open - 1);
}

}  // namespace

std::size_t pastCodeLetter(std::string_view codes, std::size_t at) {
    const char letter = codes[at];
    ++at;
    if ((letter == 'A' || letter == 'S') && at < codes.size()) ++at;
    return at;
}

bool isRangeCharacter(char c) { return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_'; }

LayerName parseLayerName(std::string_view rawName, int layerNumber) {
    LayerName result;
    result.codes = kDefaultCodes;
    std::string name;
    if (rawName.empty()) {
        name = "Layer";
        appendInt(name, layerNumber);
    } else {
        name = rawName;
    }
    const std::size_t at = name.find('@');
    if (at != std::string::npos) {
        // Names in parentheses end up on lines of the model file.
        result.codes = singleLine(std::string_view(name).substr(at + 1));
        name.resize(at);
    }
    result.component = makeIdentifier(name);
    if (result.component.size() > kMaxComponentName) result.component.resize(kMaxComponentName);
    return result;
}

std::size_t skipArgument(std::string_view codes, std::size_t at) {
    while (at < codes.size()) {
        if (isRangeCharacter(codes[at])) {
            ++at;
        } else if (codes[at] == '(') {
            at = pastName(codes, at);
        } else {
            break;
        }
    }
    return at;
}

std::optional<std::size_t> findCodePair(std::string_view codes, char letter, char second) {
    for (std::size_t at = 0; at < codes.size();) {
        if (codes[at] == letter && (second == '\0' || (at + 1 < codes.size() && codes[at + 1] == second))) return at;
        at = skipArgument(codes, pastCodeLetter(codes, at));
    }
    return std::nullopt;
}

std::optional<std::size_t> findCode(std::string_view codes, char letter) { return findCodePair(codes, letter, '\0'); }

std::string codeName(std::string_view codes, std::size_t item, std::string_view defaultName) {
    std::string name(defaultName);
    if (item >= codes.size()) return name;
    const std::size_t end = skipArgument(codes, pastCodeLetter(codes, item));
    // With several names the last one counts, as when the line is written.
    for (std::size_t at = pastCodeLetter(codes, item); at < end;) {
        if (codes[at] == '(') {
            name = nameAt(codes, at);
            at = pastName(codes, at);
        } else {
            ++at;
        }
    }
    return name;
}

CodeArgument readCodeArgument(std::string_view codes, std::size_t at) {
    CodeArgument arg;
    while (at < codes.size()) {
        const char c = codes[at];
        if (c == '_') {
            arg.range += ' ';
        } else if (c == '-' || c == '.' || (c >= '0' && c <= '9')) {
            arg.range += c;
        } else if (c == '(') {
            arg.name = std::string(nameAt(codes, at));
            at = pastName(codes, at);
            continue;
        } else {
            break;
        }
        ++at;
    }
    arg.end = at;
    return arg;
}

std::optional<int> includeNumber(std::string_view codes, std::size_t at) {
    while (at < codes.size() && (codes[at] == ' ' || (codes[at] >= '\t' && codes[at] <= '\r'))) ++at;
    bool negative = false;
    if (at < codes.size() && (codes[at] == '+' || codes[at] == '-')) negative = codes[at++] == '-';
    if (at >= codes.size() || codes[at] < '0' || codes[at] > '9') return std::nullopt;
    long long value = 0;
    for (; at < codes.size() && codes[at] >= '0' && codes[at] <= '9'; ++at) {
        value = std::min<long long>(value * 10 + (codes[at] - '0'), INT_MAX);
    }
    return static_cast<int>(negative ? -value : value);
}

std::size_t readArgument(std::string& out, std::string_view keyword, std::string_view defaultRange,
                         std::string_view codes, std::size_t at, std::string* name) {
    const CodeArgument arg = readCodeArgument(codes, at);
    out += keyword;
    if (name) {
        if (arg.name) *name = *arg.name;
        out += *name;
        out += ' ';
    }
    if (arg.range.size() >= 2) {
        out += arg.range;
        out += '\n';
    } else {
        out += defaultRange;
    }
    return arg.end;
}

std::optional<CodeInfo> articulationCode(char letter, ModelType type) {
    constexpr std::string_view xRotate = "\t\t\txRotate ", yRotate = "\t\t\tyRotate ", zRotate = "\t\t\tzRotate ";
    constexpr std::string_view turn = "-360 0 360\n", move = "-1000 0 1000\n", shift = "-1 0 1\n";
    // Roll, pitch and yaw turn about the model axes that LightWave's Z, X and
    // Y axes are carried onto.
    std::string_view roll = xRotate, pitch = yRotate, yaw = zRotate;
    if (type == ModelType::Facility) {
        roll = yRotate;
        pitch = xRotate;
    } else if (type != ModelType::SpacecraftAircraft && type != ModelType::GroundVehicle) {
        roll = zRotate;
        pitch = xRotate;
        yaw = yRotate;
    }
    switch (letter) {
        case 's': return CodeInfo{"Size", "\t\t\tuniformScale ", "0 1 1\n"};
        case 'R': return CodeInfo{"Roll", roll, turn};
        case 'P': return CodeInfo{"Pitch", pitch, turn};
        case 'Y': return CodeInfo{"Yaw", yaw, turn};
        case 'x': return CodeInfo{"MoveX", "\t\t\txTranslate ", move};
        case 'y': return CodeInfo{"MoveY", "\t\t\tyTranslate ", move};
        case 'z': return CodeInfo{"MoveZ", "\t\t\tzTranslate ", move};
        case 'u': return CodeInfo{"TxMoveU", "\t\t\txTxTranslate ", shift};
        case 'v': return CodeInfo{"TxMoveV", "\t\t\tyTxTranslate ", shift};
        case 'r': return CodeInfo{"TexRotate", "\t\t\tzTxRotate ", turn};
        default: return std::nullopt;
    }
}

std::optional<CodeInfo> scaleCode(char subLetter) {
    constexpr std::string_view range = "0 1 10\n";
    switch (subLetter) {
        case 'x': return CodeInfo{"ScaleX", "\t\t\txScale ", range};
        case 'y': return CodeInfo{"ScaleY", "\t\t\tyScale ", range};
        case 'z': return CodeInfo{"ScaleZ", "\t\t\tzScale ", range};
        case 'u': return CodeInfo{"TxScaleU", "\t\t\txTxScale ", range};
        case 'v': return CodeInfo{"TxScaleV", "\t\t\tyTxScale ", range};
        default: return std::nullopt;
    }
}

}  // namespace vx
