// RDAP answers as text. Every value is cleaned of control bytes before it is shown, so an answer
// cannot break the layout or hide a handle; every member is looked up with a check of its type.
#include "rdap/RdapRender.h"

#include <algorithm>
#include <vector>

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

// A string or number as text, with control bytes made blanks; "" for anything else.
std::string Text(const Json* value)
{
    std::string text;
    if (!value) return text;
    if (value->is_string()) text = value->get_ref<const std::string&>();
    else if (value->is_number() || value->is_boolean()) text = value->dump();
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return text;
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

std::string Capitalised(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

class Writer {
public:
    std::string text;

    // "Label:" at the indent and the value in the value column; a value with line ends (a cleaned
    // one has none, but descriptions and addresses do) goes on in the same column.
    void Field(int indent, const std::string& label, const std::string& value)
    {
        if (value.empty()) return;
        size_t start = text.size();
        text.append(static_cast<size_t>(indent), ' ');
        if (!label.empty()) {
            text += label;
            text += ':';
        }
        const size_t used = text.size() - start;
        const size_t column = used < kValueColumn ? kValueColumn : used + 1;
        text.append(column - used, ' ');
        text += value;
        text += '\n';
    }
    void Line(int indent, const std::string& value)
    {
        if (value.empty()) return;
        text.append(static_cast<size_t>(indent), ' ');
        text += value;
        text += '\n';
    }
    void Blank()
    {
        if (!text.empty() && text.compare(text.size() - std::min<size_t>(2, text.size()), 2, "\n\n") != 0) text += '\n';
    }
};

const char* EventLabel(const std::string& action)
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
        const std::string action = Text(event, "eventAction");
        const char* label = EventLabel(action);
        std::string value = Text(event, "eventDate");
        const std::string actor = Text(event, "eventActor");
        if (!actor.empty()) value += (value.empty() ? "" : " by ") + actor;
        out.Field(indent, label ? label : Capitalised(action.empty() ? "event" : action), value);
    });
}

void Status(Writer& out, int indent, const Json& object)
{
    ForEach(object, "status", [&](const Json& status) { out.Field(indent, "Status", Text(&status)); });
}

// The text lines of a jCard value: a string, or an array of (arrays of) strings, blanks dropped.
void ValueLines(const Json& value, std::vector<std::string>* lines)
{
    if (value.is_array()) {
        for (const Json& part : value) ValueLines(part, lines);
        return;
    }
    const std::string text = Text(&value);
    if (text.find_first_not_of(' ') != std::string::npos) lines->push_back(text);
}

// The vCard of an entity (jCard, RFC 7095): ["vcard", [[name, parameters, type, value...], ...]].
void Card(Writer& out, int indent, const Json& entity)
{
    const Json* card = Member(entity, "vcardArray");
    if (!card || !card->is_array() || card->size() < 2 || !(*card)[1].is_array()) return;
    const struct {
        const char* property;
        const char* label;
    } kShown[] = {
        {"fn", "Name"},   {"org", "Organisation"}, {"title", "Title"},      {"role", "Role"},
        {"email", "E-mail"}, {"tel", "Telephone"}, {"adr", "Address"},      {"contact-uri", "Contact"},
        {"url", "Web"},
    };
    for (const auto& shown : kShown) {
        for (const Json& property : (*card)[1]) {
            if (!property.is_array() || property.size() < 4 || Text(&property[0]) != shown.property) continue;
            const Json& parameters = property[1];
            std::vector<std::string> lines;
            for (size_t i = 3; i < property.size(); ++i) ValueLines(property[i], &lines);
            std::string label = shown.label;
            if (std::string(shown.property) == "tel") {
                std::vector<std::string> types;
                ForEach(parameters, "type", [&](const Json& type) { types.push_back(Text(&type)); });
                if (std::find(types.begin(), types.end(), "fax") != types.end()) label = "Fax";
                for (std::string& line : lines)
                    if (line.compare(0, 4, "tel:") == 0) line.erase(0, 4);
            }
            if (std::string(shown.property) == "adr" && lines.empty()) {
                // A formatted address can stand in the "label" parameter instead.
                std::string formatted = Member(parameters, "label") && Member(parameters, "label")->is_string()
                                            ? Member(parameters, "label")->get<std::string>()
                                            : "";
                size_t start = 0;
                while (start <= formatted.size()) {
                    size_t end = formatted.find('\n', start);
                    if (end == std::string::npos) end = formatted.size();
                    Json part = formatted.substr(start, end - start);
                    ValueLines(part, &lines);
                    start = end + 1;
                }
            }
            for (size_t i = 0; i < lines.size(); ++i) out.Field(indent, i == 0 ? label : "", lines[i]);
        }
    }
}

void Remarks(Writer& out, int indent, const Json& object, const char* member, const char* heading)
{
    const Json* list = Member(object, member);
    if (!list || !list->is_array() || list->empty()) return;
    out.Line(indent, heading);
    for (const Json& remark : *list) {
        const std::string title = Text(remark, "title");
        out.Line(indent + 3, title);
        const int body = title.empty() ? indent + 3 : indent + 6;
        ForEach(remark, "description", [&](const Json& line) {
            // A line of a description may itself hold line ends.
            std::string raw = line.is_string() ? line.get<std::string>() : Text(&line);
            size_t start = 0;
            while (start <= raw.size()) {
                size_t end = raw.find('\n', start);
                if (end == std::string::npos) end = raw.size();
                Json part = raw.substr(start, end - start);
                out.Line(body, Text(&part));
                start = end + 1;
            }
        });
        ForEach(remark, "links", [&](const Json& link) { out.Line(body, Text(link, "href")); });
    }
}

std::string RolesOf(const Json& entity)
{
    std::string roles;
    ForEach(entity, "roles", [&](const Json& role) {
        const std::string text = Text(&role);
        if (text.empty()) return;
        if (!roles.empty()) roles += ", ";
        roles += Capitalised(text);
    });
    return roles.empty() ? "Contact" : roles;
}

void Handle(Writer& out, int indent, const std::string& handle, bool asLink)
{
    if (asLink && IsLinkableHandle(handle)) out.Field(indent, "Handle", "(" + handle + ")");
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
    Handle(out, indent, Text(entity, "handle"), true);
    Card(out, indent, entity);
    ForEach(entity, "publicIds", [&](const Json& id) { out.Field(indent, Text(id, "type"), Text(id, "identifier")); });
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
    result.text = std::move(out.text);
    return result;
}
