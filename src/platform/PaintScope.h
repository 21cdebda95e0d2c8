// Marks a paint in progress. Message boxes raised while a window paints are held
// and shown once the paint is over (a box over a half-painted window would paint
// it again underneath and recurse); meanwhile the raiser gets the default answer.
#pragma once

#include <string>

class PaintScope {
public:
    PaintScope();
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    static bool Painting();
    static void Defer(const std::string& text, const std::string& caption, unsigned type);
};
