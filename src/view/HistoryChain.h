// The query history: a doubly linked chain of records, newest last. The dialog holds the record on
// display; a push after it discards every newer record.
#pragma once

#include <memory>
#include <string>

#include "query/Server.h"
#include "text/WideText.h"

struct QueryRecord {
    std::string question;
    // Shared with whoever shows it: an answer can be many megabytes. Never null.
    std::shared_ptr<const std::string> answer;
    QueryRecord* older = nullptr;
    QueryRecord* newer = nullptr;
    Server server;  // the server of the answer, a referred one included
    std::string json;  // an RDAP answer as it came (Save can write it); empty for WHOIS
    // The answer as the view shows it, decoded once, when first needed; shared with the view.
    std::shared_ptr<const WideText> text;
};

// Makes a record newer than `current` (which may be null for an empty chain), frees the records
// that were newer than `current`, and returns the new record.
QueryRecord* PushRecordAfter(QueryRecord* current, std::string question, std::shared_ptr<const std::string> answer,
                             Server server, std::string json = "");

// Frees the whole chain that `record` belongs to (null: nothing).
void FreeChain(QueryRecord* record);
