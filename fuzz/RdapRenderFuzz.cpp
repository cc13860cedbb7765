// Fuzzing the RDAP answer's way to text with any bytes: it never crashes; the text holds no control
// byte but line feeds; and every entity handle that can be a link (at any depth the answer nests
// them) stands in the text as exactly the span the answer view's link scan marks.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "FuzzCheck.h"
#include "rdap/RdapRender.h"
#include "view/LinkScan.h"

namespace {
using Json = nlohmann::json;

// The handles of an entity and of the entities it holds, as the answer nests them ("entities" is
// a list, or a single entity where a server writes one).
void CollectHandles(const Json& entity, std::set<std::string>* handles)
{
    if (!entity.is_object()) return;
    auto handle = entity.find("handle");
    if (handle != entity.end() && handle->is_string() && IsLinkableHandle(handle->get_ref<const std::string&>()))
        handles->insert(handle->get<std::string>());
    auto nested = entity.find("entities");
    if (nested == entity.end()) return;
    if (nested->is_array())
        for (const Json& inner : *nested) CollectHandles(inner, handles);
    else
        CollectHandles(*nested, handles);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::string json(reinterpret_cast<const char*>(data), size);
    const RdapRendering rendering = RenderRdap(json);
    for (char c : rendering.text) FUZZ_CHECK(c == '\n' || static_cast<unsigned char>(c) >= 0x20);
    if (rendering.outcome != RdapOutcome::Rendered) {
        FUZZ_CHECK(rendering.text.empty());
        return 0;
    }
    const Json document = Json::parse(json, nullptr, false);
    FUZZ_CHECK(document.is_object());
    if (document.contains("errorCode")) return 0;
    std::set<std::string> handles;
    auto kind = document.find("objectClassName");
    if (kind != document.end() && *kind == "entity") {
        CollectHandles(document, &handles);
    } else {
        // The object's own handle is no entity's: only the entities it holds give links.
        Json entities = document;
        entities.erase("handle");
        CollectHandles(entities, &handles);
    }
    std::set<std::string> marked;
    for (const LinkSpan& span : ScanLinks(rendering.text.data(), rendering.text.size()))
        marked.insert(rendering.text.substr(span.start, span.end - span.start));
    for (const std::string& handle : handles) FUZZ_CHECK(marked.count(handle) == 1);
    return 0;
}
