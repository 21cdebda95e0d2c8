#include "common/DomainRangeChecks.h"

void ExchangeDomainRanges(DataExchange& dx, DomainRanges& ranges, std::span<const DomainRangeCheck> checks)
{
    for (const DomainRangeCheck& check : checks) ExchangeRange(dx, check.fields, ranges.*check.lower, ranges.*check.upper);
}
