#include "platform/PaintScope.h"

#include "platform/Host.h"

#include <vector>

namespace {
struct HeldMessage {
    std::string text;
    std::string caption;
    unsigned type;
};
int g_depth = 0;
std::vector<HeldMessage> g_held;
} // namespace

PaintScope::PaintScope() { ++g_depth; }

PaintScope::~PaintScope()
{
    if (--g_depth > 0) return;
    std::vector<HeldMessage> held;
    held.swap(g_held);
    for (const auto& m : held) Host().ShowHeldMessage(m.text, m.caption, m.type);
}

bool PaintScope::Painting() { return g_depth > 0; }

void PaintScope::Defer(const std::string& text, const std::string& caption, unsigned type)
{
    g_held.push_back({text, caption, type});
}
