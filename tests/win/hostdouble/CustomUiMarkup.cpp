#include "hostdouble/CustomUiMarkup.h"

#include <msxml2.h>

#include <map>
#include <set>

#include "BStr.h"
#include "hostdouble/OfficeIids.h"

namespace inkra::test::office {
namespace {

using win::BStr;
using win::ComPtr;

// MSXML 3's DOMDocument (msxml3.dll): present on every Windows since XP and built into Wine.
constexpr CLSID kDomDocument30 = {0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};

// What each element of a ribbon tab may hold: its parent and its attributes, after the schema.
struct ElementRule {
  const wchar_t* name;
  const wchar_t* parent;  // null: the root
  std::set<std::wstring> attributes;
};
const ElementRule kRules[] = {
    {L"customUI", nullptr, {L"onLoad", L"loadImage"}},
    {L"ribbon", L"customUI", {L"startFromScratch"}},
    {L"tabs", L"ribbon", {}},
    {L"tab", L"tabs",
     {L"id", L"idMso", L"idQ", L"label", L"getLabel", L"visible", L"getVisible", L"insertAfterMso",
      L"insertBeforeMso", L"keytip", L"getKeytip", L"tag"}},
    {L"group", L"tab",
     {L"id", L"idMso", L"idQ", L"label", L"getLabel", L"image", L"imageMso", L"getImage", L"visible",
      L"getVisible", L"insertAfterMso", L"insertBeforeMso", L"screentip", L"getScreentip", L"supertip",
      L"getSupertip", L"keytip", L"getKeytip", L"tag"}},
    {L"button", L"group",
     {L"id", L"idMso", L"idQ", L"label", L"getLabel", L"size", L"getSize", L"image", L"imageMso", L"getImage",
      L"screentip", L"getScreentip", L"supertip", L"getSupertip", L"onAction", L"enabled", L"getEnabled",
      L"visible", L"getVisible", L"showLabel", L"getShowLabel", L"showImage", L"getShowImage", L"keytip",
      L"getKeytip", L"tag", L"description", L"getDescription", L"insertAfterMso", L"insertBeforeMso"}},
};
// Attributes whose value is the name of a callback of the add-in.
bool IsCallback(const std::wstring& attribute) {
  return attribute.rfind(L"get", 0) == 0 || attribute.rfind(L"on", 0) == 0 || attribute == L"loadImage";
}
constexpr size_t kMaxLabel = 1024;

const ElementRule* RuleFor(const std::wstring& name) {
  for (const ElementRule& rule : kRules)
    if (name == rule.name) return &rule;
  return nullptr;
}

std::wstring Text(HRESULT hr, const BStr& text) { return SUCCEEDED(hr) ? text.str() : std::wstring(); }

class Reader {
 public:
  Reader(Ribbon& ribbon, std::vector<std::wstring>& callbacks) : ribbon_(ribbon), callbacks_(callbacks) {}

  void Element(IXMLDOMNode* node, const std::wstring& parent, RibbonButton context) {
    BStr name, uri;
    const std::wstring local = Text(node->get_baseName(name.put()), name);
    const std::wstring space = Text(node->get_namespaceURI(uri.put()), uri);
    if (space != published::kCustomUiNamespace) Problem(L"<" + local + L"> is not in the custom UI namespace (" + space + L")");
    const ElementRule* rule = RuleFor(local);
    if (!rule) return Problem(L"unknown element <" + local + L">");
    if ((rule->parent ? rule->parent : L"") != parent)
      return Problem(L"<" + local + L"> cannot stand in <" + parent + L">");

    std::map<std::wstring, std::wstring> values = Attributes(node, *rule);
    if (local == L"tab" || local == L"group" || local == L"button") CheckIdentity(local, values);
    if (values.count(L"label") && values[L"label"].size() > kMaxLabel) Problem(L"label longer than 1024 characters");
    if (int(values.count(L"image")) + int(values.count(L"imageMso")) + int(values.count(L"getImage")) > 1)
      Problem(L"<" + local + L"> has more than one of image, imageMso, getImage");
    if (local == L"tab") context.tabIdMso = values[L"idMso"];
    if (local == L"group") context.groupId = values[L"id"], context.groupLabel = values[L"label"];
    if (local == L"button") {
      if (values.count(L"size") && values[L"size"] != L"normal" && values[L"size"] != L"large")
        Problem(L"button size \"" + values[L"size"] + L"\"");
      RibbonButton button = context;
      button.id = values[L"id"], button.label = values[L"label"], button.size = values[L"size"];
      button.screentip = values[L"screentip"], button.supertip = values[L"supertip"], button.tag = values[L"tag"];
      button.onAction = values[L"onAction"], button.getImage = values[L"getImage"];
      button.imageMso = values[L"imageMso"];
      ribbon_.buttons.push_back(button);
    }
    ForEachChild(node, [&](IXMLDOMNode* child) { Element(child, local, context); });
  }

  template <typename Visit>
  void ForEachChild(IXMLDOMNode* node, Visit&& visit) {
    ComPtr<IXMLDOMNodeList> children;
    long count = 0;
    if (FAILED(node->get_childNodes(&children)) || FAILED(children->get_length(&count))) return;
    for (long i = 0; i < count; ++i) {
      ComPtr<IXMLDOMNode> child;
      DOMNodeType type = NODE_INVALID;
      if (FAILED(children->get_item(i, &child)) || FAILED(child->get_nodeType(&type))) continue;
      if (type == NODE_ELEMENT) {
        visit(child.Get());
      } else if (type == NODE_TEXT || type == NODE_CDATA_SECTION) {
        BStr text;
        if (SUCCEEDED(child->get_text(text.put())) &&
            text.str().find_first_not_of(L" \t\r\n") != std::wstring::npos)
          Problem(L"text inside an element");
      }
    }
  }

  void Problem(std::wstring text) { ribbon_.problems.push_back(std::move(text)); }

 private:
  std::map<std::wstring, std::wstring> Attributes(IXMLDOMNode* node, const ElementRule& rule) {
    std::map<std::wstring, std::wstring> values;
    ComPtr<IXMLDOMNamedNodeMap> attributes;
    long count = 0;
    if (FAILED(node->get_attributes(&attributes)) || !attributes || FAILED(attributes->get_length(&count)))
      return values;
    for (long i = 0; i < count; ++i) {
      ComPtr<IXMLDOMNode> attribute;
      BStr name, value;
      if (FAILED(attributes->get_item(i, &attribute))) continue;
      const std::wstring key = Text(attribute->get_nodeName(name.put()), name);
      if (key == L"xmlns" || key.rfind(L"xmlns:", 0) == 0) continue;  // namespace declarations
      if (!rule.attributes.count(key)) {
        Problem(std::wstring(L"<") + rule.name + L"> has no attribute " + key);
        continue;
      }
      values[key] = Text(attribute->get_text(value.put()), value);
      if (IsCallback(key)) callbacks_.push_back(values[key]);
    }
    return values;
  }

  void CheckIdentity(const std::wstring& element, std::map<std::wstring, std::wstring>& values) {
    const int given = int(values.count(L"id") + values.count(L"idMso") + values.count(L"idQ"));
    if (given != 1) return Problem(L"<" + element + L"> needs exactly one of id, idMso, idQ");
    if (values.count(L"id") && !ids_.insert(values[L"id"]).second) Problem(L"id \"" + values[L"id"] + L"\" twice");
  }

  Ribbon& ribbon_;
  std::vector<std::wstring>& callbacks_;
  std::set<std::wstring> ids_;
};

}  // namespace

void ReadCustomUi(Ribbon& ribbon, std::vector<std::wstring>& callbacks) {
  ComPtr<IXMLDOMDocument> document;
  if (FAILED(CoCreateInstance(kDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument,
                              reinterpret_cast<void**>(document.GetAddressOf())))) {
    ribbon.problems.push_back(L"no XML parser (MSXML 3) on this system");
    return;
  }
  document->put_async(VARIANT_FALSE);
  document->put_resolveExternals(VARIANT_FALSE);
  VARIANT_BOOL loaded = VARIANT_FALSE;
  BStr markup(ribbon.markup);
  if (FAILED(document->loadXML(markup.get(), &loaded)) || loaded != VARIANT_TRUE) {
    ComPtr<IXMLDOMParseError> error;
    BStr reason;
    long line = 0;
    if (SUCCEEDED(document->get_parseError(&error))) error->get_reason(reason.put()), error->get_line(&line);
    ribbon.problems.push_back(L"not well-formed XML (line " + std::to_wstring(line) + L"): " + reason.str());
    return;
  }
  ComPtr<IXMLDOMElement> root;
  if (FAILED(document->get_documentElement(&root)) || !root) {
    ribbon.problems.push_back(L"no root element");
    return;
  }
  Reader reader(ribbon, callbacks);
  reader.Element(root.Get(), L"", RibbonButton{});
}

}  // namespace inkra::test::office
