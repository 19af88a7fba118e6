#pragma once
// Published properties as text lines "Path = Value", generic over Qt's
// meta-object system.
// - Path: the property name; a property of a sub-object (a Q_GADGET value
//   such as a font) has the sub-object's path and "." in front.
// - Values: True/False; integers; reals in the shortest form that reads back
//   exactly, with a period; colours (TColor) as $00BBGGRR; enumerations by
//   value name; sets as value names separated by ","; texts with backslash,
//   CR and LF written as \\, \r and \n.
// Read-only properties and those declared STORED false are not written.

#include <QMetaEnum>
#include <QMetaProperty>
#include <QObject>

#include <string>
#include <vector>

struct TPropertyLine {
    std::string Path;
    std::string Value;
    friend bool operator==(const TPropertyLine&, const TPropertyLine&) = default;
};

// The properties declared by From and the classes derived from it, in
// declaration order; top-level names in Excluded are left out.
std::vector<TPropertyLine> iPublishedProperties(const QObject& Object, const QMetaObject& From,
                                                const std::vector<std::string>& Excluded,
                                                const std::string& Prefix = "");

// Sets the properties (declared by From or its descendants) the lines name.
// Every line is checked before the first property changes: an unknown path
// or a value that does not fit raises Exception and leaves Object as it was.
void iApplyProperties(QObject& Object, const QMetaObject& From,
                      const std::vector<TPropertyLine>& Lines);
// Raises what iApplyProperties would for an unknown path or a value that
// does not fit, changing nothing.
void iCheckProperties(const QObject& Object, const QMetaObject& From,
                      const std::vector<TPropertyLine>& Lines);

// "Path = Value" split at the first "=", both sides trimmed; Exception for a
// line without "=".
TPropertyLine iSplitPropertyLine(const std::string& Line);
std::string iJoinPropertyLine(const TPropertyLine& Line);

// The non-blank lines of a property file's text, split; Exception for text
// that is not UTF-8 or holds a zero byte (a binary or wrongly encoded file).
std::vector<TPropertyLine> iParsePropertyText(const std::string& Text);
// The non-blank lines of a file, split as above; Exception naming the file
// when it cannot be read.
std::vector<TPropertyLine> iReadPropertyFile(const std::string& FileName);
// One "Path = Value" line each; Exception naming the file on failure.
void iWritePropertyFile(const std::string& FileName, const std::vector<TPropertyLine>& Lines);

// Text (any bytes) as the whole file: written to a new file that replaces
// the old one only once every byte is written, so a failure (a full disk, no
// permission) leaves an earlier file as it was. Exception naming the file and
// the reason.
void iWriteTextFile(const std::string& FileName, const std::string& Text);
// Text added at the end of the file (created when missing); a write that
// stops half way is taken back, so the file never ends in half a line.
// Exception naming the file and the reason.
void iAppendTextFile(const std::string& FileName, const std::string& Text);
// Opens the file for writing and closes it again: with MustExist it has to be
// there already, else it is created or cut to nothing. Exception naming the
// file and the reason.
void iOpenForWriting(const std::string& FileName, bool MustExist);
// The whole file's bytes; Exception naming the file and the reason.
std::string iReadTextFile(const std::string& FileName);

// The enumeration (or flags) a property's type names, found through the
// type's own meta-object. QMetaProperty::enumerator() does not know it when
// the Q_PROPERTY spells the type without its namespace; use this instead.
QMetaEnum iEnumeratorOf(const QMetaProperty& Property);

bool SameText(const std::string& A, const std::string& B);
