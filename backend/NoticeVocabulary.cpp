#include "NoticeVocabulary.h"

#include <QUrl>

#include <algorithm>
#include <array>
#include <initializer_list>

namespace NoticeVocabulary {

namespace {

using namespace Qt::StringLiterals;
using Kind = ValueKind;

// Sizes stay within a screen, fonts within reading sizes: a notice cannot make the renderer
// allocate more than a window's worth of pixels.
constexpr double maxExtent = 4096;
constexpr double maxSpacing = 1024;

struct NamedRule
{
    QStringView name;
    PropertyRule rule;
};

const std::array namedRules{
    NamedRule{u"objectName", {Kind::Text}},
    NamedRule{u"text", {Kind::Text}},
    NamedRule{u"color", {Kind::Text}},
    NamedRule{u"linkColor", {Kind::Text}},
    NamedRule{u"border.color", {Kind::Text}},
    NamedRule{u"font.family", {Kind::Text}},
    NamedRule{u"source", {Kind::WebUrl}},
    NamedRule{u"visible", {Kind::Boolean}},
    NamedRule{u"clip", {Kind::Boolean}},
    NamedRule{u"smooth", {Kind::Boolean}},
    NamedRule{u"font.bold", {Kind::Boolean}},
    NamedRule{u"font.italic", {Kind::Boolean}},
    NamedRule{u"font.underline", {Kind::Boolean}},
    NamedRule{u"Layout.fillWidth", {Kind::Boolean}},
    NamedRule{u"Layout.fillHeight", {Kind::Boolean}},
    NamedRule{u"width", {Kind::Number, 0, maxExtent}},
    NamedRule{u"height", {Kind::Number, 0, maxExtent}},
    NamedRule{u"x", {Kind::Number, -maxExtent, maxExtent}},
    NamedRule{u"y", {Kind::Number, -maxExtent, maxExtent}},
    NamedRule{u"opacity", {Kind::Number, 0, 1}},
    NamedRule{u"radius", {Kind::Number, 0, maxExtent}},
    NamedRule{u"border.width", {Kind::Number, 0, 100}},
    NamedRule{u"spacing", {Kind::Number, 0, maxSpacing}},
    NamedRule{u"padding", {Kind::Number, 0, maxSpacing}},
    NamedRule{u"leftPadding", {Kind::Number, 0, maxSpacing}},
    NamedRule{u"rightPadding", {Kind::Number, 0, maxSpacing}},
    NamedRule{u"topPadding", {Kind::Number, 0, maxSpacing}},
    NamedRule{u"bottomPadding", {Kind::Number, 0, maxSpacing}},
    NamedRule{u"font.pixelSize", {Kind::Number, 1, 96}},
    NamedRule{u"font.pointSize", {Kind::Number, 1, 72}},
    NamedRule{u"lineHeight", {Kind::Number, 0, 10}},
    NamedRule{u"maximumLineCount", {Kind::Number, 1, 100}},
    NamedRule{u"sourceSize.width", {Kind::Number, 1, maxExtent}},
    NamedRule{u"sourceSize.height", {Kind::Number, 1, maxExtent}},
    NamedRule{u"columns", {Kind::Number, 1, 64}},
    NamedRule{u"rows", {Kind::Number, 1, 64}},
    NamedRule{u"Layout.preferredWidth", {Kind::Number, 0, maxExtent}},
    NamedRule{u"Layout.preferredHeight", {Kind::Number, 0, maxExtent}},
    NamedRule{u"Layout.minimumWidth", {Kind::Number, 0, maxExtent}},
    NamedRule{u"Layout.minimumHeight", {Kind::Number, 0, maxExtent}},
    NamedRule{u"Layout.maximumWidth", {Kind::Number, 0, maxExtent}},
    NamedRule{u"Layout.maximumHeight", {Kind::Number, 0, maxExtent}},
    NamedRule{u"Layout.margins", {Kind::Number, 0, maxSpacing}},
    NamedRule{u"wrapMode", {Kind::EnumName}},
    NamedRule{u"horizontalAlignment", {Kind::EnumName}},
    NamedRule{u"verticalAlignment", {Kind::EnumName}},
    NamedRule{u"elide", {Kind::EnumName}},
    NamedRule{u"textFormat", {Kind::EnumName}},
    NamedRule{u"fillMode", {Kind::EnumName}},
    NamedRule{u"flow", {Kind::EnumName}},
    NamedRule{u"layoutDirection", {Kind::EnumName}},
    NamedRule{u"Layout.alignment", {Kind::EnumName}},
};

struct EnumChoice
{
    QStringView property;
    QStringView value;
};

const std::array enumChoices{
    EnumChoice{u"wrapMode", u"Text.NoWrap"},
    EnumChoice{u"wrapMode", u"Text.WordWrap"},
    EnumChoice{u"wrapMode", u"Text.Wrap"},
    EnumChoice{u"wrapMode", u"Text.WrapAnywhere"},
    EnumChoice{u"wrapMode", u"Text.WrapAtWordBoundaryOrAnywhere"},
    EnumChoice{u"horizontalAlignment", u"Text.AlignLeft"},
    EnumChoice{u"horizontalAlignment", u"Text.AlignRight"},
    EnumChoice{u"horizontalAlignment", u"Text.AlignHCenter"},
    EnumChoice{u"horizontalAlignment", u"Text.AlignJustify"},
    EnumChoice{u"horizontalAlignment", u"Image.AlignLeft"},
    EnumChoice{u"horizontalAlignment", u"Image.AlignRight"},
    EnumChoice{u"horizontalAlignment", u"Image.AlignHCenter"},
    EnumChoice{u"verticalAlignment", u"Text.AlignTop"},
    EnumChoice{u"verticalAlignment", u"Text.AlignBottom"},
    EnumChoice{u"verticalAlignment", u"Text.AlignVCenter"},
    EnumChoice{u"verticalAlignment", u"Image.AlignTop"},
    EnumChoice{u"verticalAlignment", u"Image.AlignBottom"},
    EnumChoice{u"verticalAlignment", u"Image.AlignVCenter"},
    EnumChoice{u"elide", u"Text.ElideNone"},
    EnumChoice{u"elide", u"Text.ElideLeft"},
    EnumChoice{u"elide", u"Text.ElideMiddle"},
    EnumChoice{u"elide", u"Text.ElideRight"},
    EnumChoice{u"textFormat", u"Text.PlainText"},
    EnumChoice{u"textFormat", u"Text.StyledText"},
    EnumChoice{u"textFormat", u"Text.RichText"},
    EnumChoice{u"fillMode", u"Image.Stretch"},
    EnumChoice{u"fillMode", u"Image.PreserveAspectFit"},
    EnumChoice{u"fillMode", u"Image.PreserveAspectCrop"},
    EnumChoice{u"fillMode", u"Image.Pad"},
    EnumChoice{u"flow", u"Flow.LeftToRight"},
    EnumChoice{u"flow", u"Flow.TopToBottom"},
    EnumChoice{u"layoutDirection", u"Qt.LeftToRight"},
    EnumChoice{u"layoutDirection", u"Qt.RightToLeft"},
    EnumChoice{u"Layout.alignment", u"Qt.AlignLeft"},
    EnumChoice{u"Layout.alignment", u"Qt.AlignRight"},
    EnumChoice{u"Layout.alignment", u"Qt.AlignHCenter"},
    EnumChoice{u"Layout.alignment", u"Qt.AlignTop"},
    EnumChoice{u"Layout.alignment", u"Qt.AlignBottom"},
    EnumChoice{u"Layout.alignment", u"Qt.AlignVCenter"},
    EnumChoice{u"Layout.alignment", u"Qt.AlignCenter"},
};

bool contains(std::initializer_list<QStringView> list, QStringView value)
{
    return std::find(list.begin(), list.end(), value) != list.end();
}

} // namespace

bool isAllowedImport(QStringView module)
{
    return contains({u"QtQuick", u"QtQuick.Layouts", u"QtQuick.Controls"}, module);
}

bool isAllowedType(QStringView type)
{
    return contains({u"Item", u"Rectangle", u"Text", u"Label", u"Image", u"Column", u"Row", u"Flow",
                     u"Grid", u"ColumnLayout", u"RowLayout", u"GridLayout"},
                    type);
}

bool isImageType(QStringView type)
{
    return type == u"Image";
}

const PropertyRule *propertyRule(QStringView name)
{
    const auto found = std::find_if(namedRules.begin(), namedRules.end(),
                                    [name](const NamedRule &named) { return named.name == name; });
    return found == namedRules.end() ? nullptr : &found->rule;
}

bool isAllowedEnum(QStringView property, QStringView value)
{
    return std::any_of(enumChoices.begin(), enumChoices.end(), [&](const EnumChoice &choice) {
        return choice.property == property && choice.value == value;
    });
}

bool isWebUrl(QStringView text)
{
    const QUrl url(text.toString(), QUrl::StrictMode);
    const QString scheme = url.scheme();
    return url.isValid() && (scheme == "http"_L1 || scheme == "https"_L1) && !url.host().isEmpty();
}

} // namespace NoticeVocabulary
