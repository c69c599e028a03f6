#pragma once

#include <QStringView>

// What a server notice may say: the modules it may import, the visual types it may build, the
// properties it may set and the literal values each property takes.
namespace NoticeVocabulary {

enum class ValueKind {
    Number,
    Boolean,
    Text,
    WebUrl,
    EnumName,
};

struct PropertyRule
{
    ValueKind kind = ValueKind::Number;
    double minimum = 0;
    double maximum = 0;
};

bool isAllowedImport(QStringView module);
bool isAllowedType(QStringView type);
bool isImageType(QStringView type);

// The rule of a property (a plain or a dotted group name), or nothing when it may not be set.
const PropertyRule *propertyRule(QStringView name);

// Whether an enumeration name (such as "Text.WordWrap") may be the value of the property.
bool isAllowedEnum(QStringView property, QStringView value);

// Whether the text is an absolute http or https address, the only kind a notice may load or open.
bool isWebUrl(QStringView text);

} // namespace NoticeVocabulary
