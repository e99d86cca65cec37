#include "SealParamsText.h"

#include <charconv>
#include <functional>
#include <vector>

#include "Colour.h"

namespace inkra {
namespace {

// One parameter: its name, how it is written, how it is read back (false: malformed).
struct Field {
  const char* name;
  std::function<std::string()> write;
  std::function<bool(std::string_view)> read;
};

bool ParseInt(std::string_view s, int& out) {
  int v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size()) return false;
  out = v;
  return true;
}

Field Int(const char* name, int& v) {
  return {name, [&v] { return std::to_string(v); }, [&v](std::string_view s) { return ParseInt(s, v); }};
}
Field Bool(const char* name, bool& v) {
  return {name, [&v] { return std::string(v ? "1" : "0"); }, [&v](std::string_view s) {
            if (s != "0" && s != "1") return false;
            v = s == "1";
            return true;
          }};
}
// Texts are kept on one line: a line break in a field cannot be typed, and is dropped.
Field Text(const char* name, std::string& v) {
  return {name, [&v] {
            std::string one;
            for (char c : v)
              if (c != '\n' && c != '\r') one += c;
            return one;
          },
          [&v](std::string_view s) {
            v = std::string(s);
            return true;
          }};
}
Field Colour(const char* name, ColourValue& v) {
  return {name, [&v] { return ColourToText(v); }, [&v](std::string_view s) {
            auto c = ColourFromText(std::string(s));
            if (c) v = *c;
            return c.has_value();
          }};
}

std::string Write(const std::vector<Field>& fields) {
  std::string out;
  for (const Field& f : fields) out += std::string(f.name) + "=" + f.write() + "\n";
  return out;
}

bool Read(std::string_view text, const std::vector<Field>& fields) {
  bool any = false;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    for (const Field& f : fields)
      if (line.substr(0, eq) == f.name && f.read(line.substr(eq + 1))) any = true;
  }
  return any;
}

std::vector<Field> RoundFields(RoundSealParams& p, int& templateIndex, int& ring) {
  return {Int("template", templateIndex), Int("ring", ring), Int("height", p.height), Int("width", p.width),
          Int("textMargin", p.textMargin), Int("ringWidth", p.ringWidth), Colour("colour", p.colour),
          Text("text", p.text), Text("textFace", p.textFace), Int("textSize", p.textSize),
          Int("span", p.span), Int("turnFactor", p.turnFactor), Int("starX", p.starX),
          Int("starY", p.starY), Int("starSize", p.starSize), Text("upperText", p.upperText),
          Int("upperX", p.upperX), Int("upperY", p.upperY), Text("upperFace", p.upperFace),
          Int("upperSize", p.upperSize), Text("lowerText", p.lowerText), Int("lowerX", p.lowerX),
          Int("lowerY", p.lowerY), Text("lowerFace", p.lowerFace), Int("lowerSize", p.lowerSize),
          Text("code", p.code), Bool("stampLook", p.stampLook)};
}

std::vector<Field> SquareFields(SquareSealParams& p, int& templateIndex) {
  return {Int("template", templateIndex), Text("name", p.name), Text("face", p.face),
          Colour("colour", p.colour), Int("side", p.side), Int("frame", p.frame),
          Int("points", p.points), Int("nearCell", p.nearCell), Int("farCell", p.farCell),
          Bool("stampLook", p.stampLook)};
}

}  // namespace

std::string RoundSealText(const RoundSealParams& p, int templateIndex) {
  RoundSealParams copy = p;
  int ring = int(p.ring);
  return Write(RoundFields(copy, templateIndex, ring));
}

std::string SquareSealText(const SquareSealParams& p, int templateIndex) {
  SquareSealParams copy = p;
  return Write(SquareFields(copy, templateIndex));
}

bool ReadRoundSealText(std::string_view text, RoundSealParams& p, int& templateIndex) {
  int ring = int(p.ring);
  const bool any = Read(text, RoundFields(p, templateIndex, ring));
  p.ring = ring == int(RingFit::Inscribed) ? RingFit::Inscribed : RingFit::Corner;
  return any;
}

bool ReadSquareSealText(std::string_view text, SquareSealParams& p, int& templateIndex) {
  return Read(text, SquareFields(p, templateIndex));
}

}  // namespace inkra
