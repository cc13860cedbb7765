// RDAP answers as text. Every value is cleaned of control bytes before it is shown, so an answer
// cannot break the layout or hide a handle; every member is looked up with a check of its type.
#include "rdap/RdapRender.h"

#include <algorithm>
#include <string_view>

#include <nlohmann/json.hpp>

using Json = nlohmann::json;

namespace {
constexpr size_t kValueColumn = 18;
constexpr size_t kMaxLinkLength = 200;

// Depth of arrays and objects, counted outside strings, without building anything.
bool NestedTooDeeply(std::string_view text)
{
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxRdapDepth) return true;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return false;
}

const Json* Member(const Json& object, const char* name)
{
    if (!object.is_object()) return nullptr;
    auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

// A string member as it stands (the writer cleans it), "" for anything else.
std::string_view View(const Json* value)
{
    return value && value->is_string() ? std::string_view(value->get_ref<const std::string&>()) : std::string_view();
}
std::string_view View(const Json& object, const char* name) { return View(Member(object, name)); }

// A string or number as text, "" for anything else.
std::string Text(const Json* value)
{
    if (value && (value->is_number() || value->is_boolean())) return value->dump();
    return std::string(View(value));
}
std::string Text(const Json& object, const char* name) { return Text(Member(object, name)); }

// Each element of an array member (or the member itself when it is no array).
template <class Visit>
void ForEach(const Json& object, const char* name, Visit&& visit)
{
    const Json* member = Member(object, name);
    if (!member) return;
    if (!member->is_array()) {
        visit(*member);
        return;
    }
    for (const Json& element : *member) visit(element);
}

std::string Capitalised(std::string_view text)
{
    std::string result(text);
    if (!result.empty() && result[0] >= 'a' && result[0] <= 'z') result[0] = static_cast<char>(result[0] - 'a' + 'A');
    return result;
}

bool Blank(std::string_view text) { return text.find_first_not_of(" \t\r") == std::string_view::npos; }

// Each line of a text that holds line ends, blank ones left out.
template <class Visit>
void ForEachLine(std::string_view text, Visit&& visit)
{
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        if (!Blank(text.substr(0, end))) visit(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
}

// Writes the text; every byte an answer gives passes through here, and control bytes become blanks
// so that an answer can neither break the layout nor hide a handle.
class Writer {
public:
    std::string text;

    // "Label:" at the indent and the value in the value column.
    void Field(int indent, std::string_view label, std::string_view value)
    {
        if (value.empty()) return;
        const size_t start = text.size();
        text.append(static_cast<size_t>(indent), ' ');
        if (!label.empty()) {
            Append(label);
            text += ':';
        }
        const size_t used = text.size() - start;
        text.append((used < kValueColumn ? kValueColumn : used + 1) - used, ' ');
        Append(value);
        text += '\n';
    }
    void Line(int indent, std::string_view value)
    {
        if (value.empty()) return;
        text.append(static_cast<size_t>(indent), ' ');
        Append(value);
        text += '\n';
    }
    void Blank()
    {
        if (!text.empty() && text.compare(text.size() - std::min<size_t>(2, text.size()), 2, "\n\n") != 0) text += '\n';
    }

private:
    void Append(std::string_view value)
    {
        const size_t from = text.size();
        text += value;
        for (size_t i = from; i < text.size(); ++i)
            if (static_cast<unsigned char>(text[i]) < 0x20 || text[i] == 0x7F) text[i] = ' ';
    }
};

const char* EventLabel(std::string_view action)
{
    if (action == "registration") return "Registered";
    if (action == "expiration") return "Expires";
    if (action == "last changed") return "Last Changed";
    if (action == "last update of RDAP database") return "Database Updated";
    if (action == "transfer") return "Transferred";
    if (action == "reregistration") return "Reregistered";
    return nullptr;
}

void Events(Writer& out, int indent, const Json& object)
{
    ForEach(object, "events", [&](const Json& event) {
        const std::string_view action = View(event, "eventAction");
        const char* label = EventLabel(action);
        const std::string_view date = View(event, "eventDate"), actor = View(event, "eventActor");
        const std::string heading = label ? label : Capitalised(action.empty() ? "event" : action);
        if (actor.empty()) out.Field(indent, heading, date);
        else out.Field(indent, heading, std::string(date) + (date.empty() ? "" : " by ") + std::string(actor));
    });
}

void Status(Writer& out, int indent, const Json& object)
{
    ForEach(object, "status", [&](const Json& status) { out.Field(indent, "Status", View(&status)); });
}

// The text lines of a jCard value: a string, or an array of (arrays of) strings.
template <class Visit>
void ForEachValueLine(const Json& value, Visit&& visit)
{
    if (value.is_array()) {
        for (const Json& part : value) ForEachValueLine(part, visit);
        return;
    }
    if (!Blank(View(&value))) visit(View(&value));
}

// The vCard of an entity (jCard, RFC 7095): ["vcard", [[name, parameters, type, value...], ...]],
// shown in a fixed order whatever the card's own.
void Card(Writer& out, int indent, const Json& entity)
{
    const Json* card = Member(entity, "vcardArray");
    if (!card || !card->is_array() || card->size() < 2 || !(*card)[1].is_array()) return;
    static const struct {
        const char* property;
        const char* label;
    } kShown[] = {
        {"fn", "Name"},      {"org", "Organisation"}, {"title", "Title"},          {"role", "Role"}, {"email", "E-mail"},
        {"tel", "Telephone"}, {"adr", "Address"},      {"contact-uri", "Contact"}, {"url", "Web"},
    };
    for (const auto& shown : kShown) {
        const std::string_view property = shown.property;
        for (const Json& entry : (*card)[1]) {
            if (!entry.is_array() || entry.size() < 4 || View(&entry[0]) != property) continue;
            const Json& parameters = entry[1];
            std::string_view label = shown.label;
            if (property == "tel") ForEach(parameters, "type", [&](const Json& type) {
                    if (View(&type) == "fax") label = "Fax";
                });
            bool first = true;
            auto line = [&](std::string_view value) {
                if (property == "tel" && value.substr(0, 4) == "tel:") value.remove_prefix(4);
                out.Field(indent, first ? label : std::string_view(), value);
                first = false;
            };
            for (size_t i = 3; i < entry.size(); ++i) ForEachValueLine(entry[i], line);
            // A formatted address can stand in the "label" parameter instead.
            if (property == "adr" && first) ForEachLine(View(parameters, "label"), line);
        }
    }
}

void Remarks(Writer& out, int indent, const Json& object, const char* member, const char* heading)
{
    const Json* list = Member(object, member);
    if (!list || !list->is_array() || list->empty()) return;
    out.Line(indent, heading);
    for (const Json& remark : *list) {
        const std::string_view title = View(remark, "title");
        out.Line(indent + 3, title);
        const int body = title.empty() ? indent + 3 : indent + 6;
        // A line of a description may itself hold line ends.
        ForEach(remark, "description", [&](const Json& line) {
            ForEachLine(View(&line), [&](std::string_view text) { out.Line(body, text); });
        });
        ForEach(remark, "links", [&](const Json& link) { out.Line(body, View(link, "href")); });
    }
}

std::string RolesOf(const Json& entity)
{
    std::string roles;
    ForEach(entity, "roles", [&](const Json& role) {
        const std::string_view text = View(&role);
        if (text.empty()) return;
        if (!roles.empty()) roles += ", ";
        roles += Capitalised(text);
    });
    return roles.empty() ? "Contact" : roles;
}

void Handle(Writer& out, int indent, std::string_view handle, bool asLink)
{
    if (asLink && IsLinkableHandle(handle)) out.Field(indent, "Handle", "(" + std::string(handle) + ")");
    else out.Field(indent, "Handle", handle);
}

void Entity(Writer& out, int indent, const Json& entity);

void Entities(Writer& out, int indent, const Json& object)
{
    ForEach(object, "entities", [&](const Json& entity) {
        if (!entity.is_object()) return;
        if (indent == 0) out.Blank();
        out.Line(indent, RolesOf(entity) + ":");
        Entity(out, indent + 3, entity);
    });
}

void Entity(Writer& out, int indent, const Json& entity)
{
    Handle(out, indent, View(entity, "handle"), true);
    Card(out, indent, entity);
    ForEach(entity, "publicIds", [&](const Json& id) { out.Field(indent, View(id, "type"), Text(id, "identifier")); });
    Status(out, indent, entity);
    Events(out, indent, entity);
    Remarks(out, indent, entity, "remarks", "Remarks:");
    Entities(out, indent, entity);
}

void Nameservers(Writer& out, const Json& domain)
{
    bool any = false;
    ForEach(domain, "nameservers", [&](const Json& server) {
        std::string name = Text(server, "ldhName");
        if (name.empty()) name = Text(server, "unicodeName");
        if (name.empty()) return;
        if (!any) out.Blank();
        any = true;
        std::string addresses;
        if (const Json* ip = Member(server, "ipAddresses")) {
            for (const char* family : {"v4", "v6"})
                ForEach(*ip, family, [&](const Json& address) { addresses += " " + Text(&address); });
        }
        out.Field(0, "Name Server", name + addresses);
    });
}

void Dnssec(Writer& out, const Json& domain)
{
    const Json* secure = Member(domain, "secureDNS");
    if (!secure || !secure->is_object()) return;
    const Json* signedFlag = Member(*secure, "delegationSigned");
    if (signedFlag && signedFlag->is_boolean()) out.Field(0, "DNSSEC", signedFlag->get<bool>() ? "signed delegation" : "unsigned");
    ForEach(*secure, "dsData", [&](const Json& ds) {
        out.Field(0, "DS Record", Text(ds, "keyTag") + " " + Text(ds, "algorithm") + " " + Text(ds, "digestType") + " " + Text(ds, "digest"));
    });
    ForEach(*secure, "keyData", [&](const Json& key) {
        out.Field(0, "DNSKEY", Text(key, "flags") + " " + Text(key, "protocol") + " " + Text(key, "algorithm") + " " + Text(key, "publicKey"));
    });
}

void Redacted(Writer& out, const Json& object)
{
    const Json* list = Member(object, "redacted");
    if (!list || !list->is_array() || list->empty()) return;
    out.Blank();
    out.Line(0, "Redacted:");
    for (const Json& entry : *list) {
        const Json* name = Member(entry, "name");
        std::string what = name ? Text(*name, "type") : "";
        if (what.empty() && name) what = Text(*name, "description");
        std::string why = Text(entry, "method");
        const Json* reason = Member(entry, "reason");
        std::string because = reason ? Text(*reason, "description") : "";
        if (because.empty() && reason) because = Text(*reason, "type");
        if (!because.empty()) why += (why.empty() ? "" : ", ") + because;
        if (what.empty()) what = "Data";
        out.Field(3, what, why.empty() ? "redacted" : why);
    }
}

// The part of the answer that says what the object is.
void Identity(Writer& out, const Json& object, const std::string& kind)
{
    const std::string handle = Text(object, "handle");
    if (kind == "domain") {
        out.Field(0, "Domain Name", Text(object, "ldhName"));
        const std::string unicode = Text(object, "unicodeName");
        if (unicode != Text(object, "ldhName")) out.Field(0, "Unicode Name", unicode);
        Handle(out, 0, handle, false);
    } else if (kind == "ip network") {
        Handle(out, 0, handle, false);
        const std::string start = Text(object, "startAddress"), end = Text(object, "endAddress");
        out.Field(0, "Range", end.empty() ? start : start + " - " + end);
        ForEach(object, "cidr0_cidrs", [&](const Json& cidr) {
            std::string prefix = Text(cidr, "v4prefix");
            if (prefix.empty()) prefix = Text(cidr, "v6prefix");
            out.Field(0, "CIDR", prefix + "/" + Text(cidr, "length"));
        });
        out.Field(0, "Name", Text(object, "name"));
        out.Field(0, "Type", Text(object, "type"));
        out.Field(0, "Country", Text(object, "country"));
        out.Field(0, "Parent", Text(object, "parentHandle"));
    } else if (kind == "autnum") {
        Handle(out, 0, handle, false);
        const std::string start = Text(object, "startAutnum"), end = Text(object, "endAutnum");
        out.Field(0, "AS Numbers", end.empty() || end == start ? start : start + " - " + end);
        out.Field(0, "Name", Text(object, "name"));
        out.Field(0, "Type", Text(object, "type"));
        out.Field(0, "Country", Text(object, "country"));
    } else if (kind == "nameserver") {
        out.Field(0, "Name Server", Text(object, "ldhName"));
        Handle(out, 0, handle, false);
        if (const Json* ip = Member(object, "ipAddresses"))
            for (const char* family : {"v4", "v6"})
                ForEach(*ip, family, [&](const Json& address) { out.Field(0, "Address", Text(&address)); });
    } else {
        out.Field(0, "Name", Text(object, "ldhName"));
        Handle(out, 0, handle, false);
    }
}

void Links(Writer& out, const Json& object)
{
    const Json* list = Member(object, "links");
    if (!list || !list->is_array() || list->empty()) return;
    out.Blank();
    out.Line(0, "Links:");
    for (const Json& link : *list) {
        std::string rel = Text(link, "rel");
        out.Field(3, rel.empty() ? "link" : rel, Text(link, "href"));
    }
}

std::string RelatedRecord(const Json& object)
{
    std::string related;
    ForEach(object, "links", [&](const Json& link) {
        const std::string href = Text(link, "href");
        if (!related.empty() || Text(link, "rel") != "related") return;
        if (href.compare(0, 8, "https://") != 0 && href.compare(0, 7, "http://") != 0) return;
        const std::string type = Text(link, "type");
        if (type.find("rdap+json") != std::string::npos || (type.empty() && href.find("/domain/") != std::string::npos))
            related = href;
    });
    return related;
}
}  // namespace

bool IsLinkableHandle(std::string_view handle)
{
    if (handle.size() < 5 || handle.size() > kMaxLinkLength) return false;
    for (unsigned char c : handle)
        if (c <= ' ' || c == 0x7F || c == '\'' || c == '"' || c == '*' || c == '(' || c == ')') return false;
    return true;
}

RdapRendering RenderRdap(std::string_view json)
{
    RdapRendering result;
    if (NestedTooDeeply(json)) {
        result.outcome = RdapOutcome::TooDeep;
        return result;
    }
    const Json document = Json::parse(json.begin(), json.end(), nullptr, false);
    if (document.is_discarded()) return result;
    if (!document.is_object()) {
        result.outcome = RdapOutcome::NotRdap;
        return result;
    }
    result.outcome = RdapOutcome::Rendered;
    Writer out;
    // The text is about half the JSON; growing it step by step costs more than the rest of the walk.
    out.text.reserve(json.size() / 2);
    if (const Json* code = Member(document, "errorCode")) {
        if (code->is_number_integer()) result.errorCode = static_cast<int>(std::clamp<long long>(code->get<long long>(), 0, 999));
        out.Field(0, "Error", Text(code) + " " + Text(document, "title"));
        ForEach(document, "description", [&](const Json& line) { out.Field(0, "", Text(&line)); });
    } else {
        const std::string kind = Text(document, "objectClassName");
        if (kind == "entity") {
            out.Line(0, RolesOf(document) + ":");
            Entity(out, 3, document);
        } else {
            Identity(out, document, kind);
            Status(out, 0, document);
            Events(out, 0, document);
            Remarks(out, 0, document, "remarks", "Remarks:");
            Entities(out, 0, document);
            Nameservers(out, document);
            Dnssec(out, document);
        }
        if (kind == "domain") result.related = RelatedRecord(document);
        out.Field(0, "WHOIS Server", Text(document, "port43"));
    }
    Redacted(out, document);
    out.Blank();
    Remarks(out, 0, document, "notices", "Notices:");
    Links(out, document);
    // One line end closes the text, whichever part came last.
    while (out.text.size() > 1 && out.text.compare(out.text.size() - 2, 2, "\n\n") == 0) out.text.pop_back();
    result.text = std::move(out.text);
    return result;
}
