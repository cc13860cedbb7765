// The copy of IANA's bootstrap files built into the program (src/rdap/snapshot/*.json, made into
// source text when the build is configured).
#pragma once

extern const char kSnapshotDns[];
extern const char kSnapshotIpv4[];
extern const char kSnapshotIpv6[];
extern const char kSnapshotAsn[];
