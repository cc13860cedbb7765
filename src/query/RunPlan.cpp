// A run's plan of passes; portable, so that the loop guard and the pass limit are tested natively.
#include "query/RunPlan.h"

#include <algorithm>

RunPlan::RunPlan(Server first, bool followReferrals, const std::vector<ServerEntry>& custom)
    : m_custom(custom), m_follow(followReferrals), m_current(std::move(first)), m_answered(m_current)
{
    m_asked.push_back(ServerIdentity(m_current, m_custom));
}

bool RunPlan::Refer(const Server& next, ReferralShow show)
{
    const std::string identity = ServerIdentity(next, m_custom);
    if (!m_follow || m_passes >= kMaxPasses || std::find(m_asked.begin(), m_asked.end(), identity) != m_asked.end())
        return false;
    m_asked.push_back(identity);
    m_answered = next;
    m_current = next;
    m_show = show;
    m_followed = false;
    ++m_passes;
    return true;
}

bool RunPlan::FollowAnswer(std::string_view answer)
{
    Referral referral;
    if (!FindReferral(answer, &referral)) return false;
    const Server answered = m_current;
    if (!Refer(ServerForHost(referral.host, referral.port), referral.show)) return false;
    m_answered = answered;
    m_followed = true;
    return true;
}
