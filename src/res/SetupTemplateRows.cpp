#include "res/SetupTemplateRows.h"

#include "res/ResourceIds.h"

namespace {

void AppendLabelled(ControlRows& rows, int group, std::initializer_list<LabelledEdit> fields, ControlKind kind,
                    unsigned style)
{
    for (const LabelledEdit& field : fields) {
        rows.push_back({kIdcStatic, ControlKind::Static, field.label, group, 0});
        rows.push_back({field.id, kind, "", group, field.style | style});
    }
}

} // namespace

ControlRows JoinRows(std::initializer_list<ControlRows> pieces)
{
    ControlRows rows;
    for (const ControlRows& piece : pieces) rows.insert(rows.end(), piece.begin(), piece.end());
    return rows;
}

ControlRows LabelledEdits(int group, std::initializer_list<LabelledEdit> fields)
{
    ControlRows rows;
    AppendLabelled(rows, group, fields, ControlKind::Edit, 0);
    return rows;
}

ControlRows LabelledEditGroup(int box, const char* title, std::initializer_list<LabelledEdit> fields)
{
    ControlRows rows{{box, ControlKind::GroupBox, title, 0, 0}};
    AppendLabelled(rows, box, fields, ControlKind::Edit, 0);
    return rows;
}

ControlRows LabelledListGroup(int box, const char* title, std::initializer_list<LabelledEdit> fields)
{
    ControlRows rows{{box, ControlKind::GroupBox, title, 0, 0}};
    AppendLabelled(rows, box, fields, ControlKind::DropDownList, kVScroll);
    return rows;
}

ControlRows ProfileListRows(int box, const ProfileListStep& step)
{
    return {{step.selectId, ControlKind::Button, step.button, box, 0},
            {step.listId, ControlKind::ListBox, "", box, 0},
            {step.labelId, ControlKind::Static, step.label, box, kPathEllipsis}};
}

ControlRows InBox(int outer, ControlRows rows)
{
    if (!rows.empty()) rows.front().group = outer;
    return rows;
}
