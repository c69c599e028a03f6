#pragma once

#include <QString>
#include <QStringView>

// Decides whether a server notice is plain declarative content before anything compiles it:
// imports of Qt Quick's visual modules, objects of visual types, and properties set to literal
// values (NoticeVocabulary). Whatever else the QML engine would make of a text is refused.
namespace NoticeChecker {

inline constexpr qsizetype MaxSourceLength = 16384;
inline constexpr int MaxDepth = 8;
inline constexpr int MaxObjects = 64;
inline constexpr int MaxImages = 4;

// Empty when the notice may be compiled; otherwise the first reason it may not, with its line.
QString refusal(QStringView source);

} // namespace NoticeChecker
