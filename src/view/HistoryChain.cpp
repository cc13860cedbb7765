// The history chain's push and clean-up.
#include "view/HistoryChain.h"

namespace {
void FreeNewerFrom(QueryRecord* first)
{
    while (first) {
        QueryRecord* next = first->newer;
        delete first;
        first = next;
    }
}
}  // namespace

QueryRecord* PushRecordAfter(QueryRecord* current, std::string question, std::shared_ptr<const std::string> answer,
                             Server server, std::string json)
{
    if (!answer) answer = std::make_shared<const std::string>();
    auto* record =
        new QueryRecord{std::move(question), std::move(answer), current, nullptr, std::move(server), std::move(json), nullptr};
    if (current) {
        QueryRecord* detached = current->newer;
        current->newer = record;
        FreeNewerFrom(detached);
    }
    return record;
}

void FreeChain(QueryRecord* record)
{
    if (!record) return;
    while (record->older) record = record->older;
    FreeNewerFrom(record);
}
