// The whole run of a question: RDAP at the server the job names (a custom entry whose host is a web
// address, or the RDAP server of the answer a link came from), else WHOIS; and where an "Automatic"
// WHOIS chain ends without a server for the question, RDAP through IANA's bootstrap files.
#pragma once

#include "query/WhoisQuery.h"
#include "rdap/RdapQuery.h"

// Whether a custom entry's host is an RDAP server's base address ("https://..." or, for a server on
// the user's own network, "http://...").
bool IsRdapAddress(const std::string& host);

// Whether an "Automatic" WHOIS run found no server for the question: the chain ended at IANA (its
// record names no server for the domain, or the server it named refused or sent nothing), or a
// short final answer says that the domain or its top-level domain is not supported.
bool WhoisFoundNoServer(const QueryJob& job, const QueryResult& result);

QueryResult RunQuery(const QueryJob& job, ISocketApi& api, QuerySocket& socket, IHttpClient& http,
                     BootstrapSource& bootstrap, IQueryReport& report);
