#pragma once

#include <QString>
#include <vector>

// Sharing a delivery among the orders that asked for a drug, in whole units, never more than an
// order asked for. A fraction asked counts as the next whole unit, here and in the plan alike.
namespace DeliveryShare {

enum class Rule {
    EarliestFirst, // the earliest sent orders are served in full first
    Proportional,  // in proportion to the quantity asked; units left by rounding go to the largest
                   // remainders, the earliest order first on equal remainders
};
// The whole units an ask counts for: a fraction is one more unit (a hair above a whole number is
// that number); nothing for 0, less, or not a number.
long long AskedUnits(double asked);

QString RuleName(Rule rule);   // as stored: "earliest", "proportion"
Rule RuleNamed(const QString& name);

// asked: what each order asked, earliest sent first. Returns each order's units; they add up to
// the received units or to everything asked, whichever is less. Nothing received (or less than 0)
// gives nothing.
std::vector<int> Share(const double* asked, size_t n, double received, Rule rule);
inline std::vector<int> Share(const std::vector<double>& asked, double received, Rule rule) {
    return Share(asked.data(), asked.size(), received, rule);
}

} // namespace DeliveryShare
