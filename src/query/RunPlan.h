// A run's plan of passes: the first server, then each server a referral names, never the same host
// and port twice and at most kMaxPasses in all.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "query/ReferralRules.h"
#include "query/Server.h"
#include "query/ServerDirectory.h"

constexpr int kMaxPasses = 4;

class RunPlan {
public:
    // `followReferrals` is false for a server the user chose: only "Automatic" runs refer.
    RunPlan(Server first, bool followReferrals, const std::vector<ServerEntry>& custom);

    const Server& Current() const { return m_current; }
    int Passes() const { return m_passes; }
    // How the current pass's answer is shown: alone, or after the answer that referred to it.
    ReferralShow Show() const { return m_show; }
    // Whether a complete answer referred to the current server: that answer stays the answer until
    // the current server sends something. The first pass and the classic referral from ARIN (whose
    // answer was cut short) start from nothing.
    bool Followed() const { return m_followed; }
    // The server of the answer shown when the current pass gets nothing: the one that referred to it
    // when the plan Followed() its answer, else the current one.
    const Server& ServerIfNothingArrives() const { return m_answered; }

    // Moves on to `next` and returns true, unless referrals are off, `next` was asked already in
    // this run, or the run has had all its passes.
    bool Refer(const Server& next, ReferralShow show);
    // After a pass that completed: follows the referral its answer makes, if any (see Refer).
    bool FollowAnswer(std::string_view answer);

private:
    const std::vector<ServerEntry>& m_custom;
    bool m_follow;
    Server m_current;
    Server m_answered;
    ReferralShow m_show = ReferralShow::Instead;
    bool m_followed = false;
    int m_passes = 1;
    std::vector<std::string> m_asked;
};
