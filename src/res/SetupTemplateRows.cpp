#include "res/SetupTemplateRows.h"

#include "res/ResourceIds.h"

ControlRows JoinRows(std::initializer_list<ControlRows> pieces)
{
    ControlRows rows;
    for (const ControlRows& piece : pieces) rows.insert(rows.end(), piece.begin(), piece.end());
    return rows;
}

namespace {

ControlRows LabelledGroup(int box, const char* title, std::initializer_list<LabelledEdit> fields, ControlKind kind,
                          unsigned style)
{
    ControlRows rows{{box, ControlKind::GroupBox, title, 0, 0}};
    for (const LabelledEdit& field : fields) {
        rows.push_back({kIdcStatic, ControlKind::Static, field.label, box, 0});
        rows.push_back({field.id, kind, "", box, field.style | style});
    }
    return rows;
}

} // namespace

ControlRows LabelledEditGroup(int box, const char* title, std::initializer_list<LabelledEdit> fields)
{
    return LabelledGroup(box, title, fields, ControlKind::Edit, 0);
}

ControlRows LabelledListGroup(int box, const char* title, std::initializer_list<LabelledEdit> fields)
{
    return LabelledGroup(box, title, fields, ControlKind::DropDownList, kVScroll);
}
