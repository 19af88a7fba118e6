#include "components/iPropertyFile.h"

#include "platform/Exception.h"
#include "platform/Text.h"

#include <QFile>
#include <QMetaEnum>
#include <QMetaProperty>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>
#include <QVariant>

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>

namespace {

enum class TValueKind { Boolean, Integer, Colour, Real, Text, QtText, Enumeration, Set, SubObject };

std::vector<std::string> Split(const std::string& S, char Separator) {
    std::vector<std::string> Parts;
    std::size_t Begin = 0;
    for (std::size_t End; (End = S.find(Separator, Begin)) != std::string::npos; Begin = End + 1)
        Parts.push_back(Trim(S.substr(Begin, End - Begin)));
    Parts.push_back(Trim(S.substr(Begin)));
    return Parts;
}

struct TIntegerType {
    int Id;
    long long Min, Max;
};

constexpr TIntegerType IntegerTypes[] = {
    {QMetaType::Int, INT_MIN, INT_MAX},          {QMetaType::Short, SHRT_MIN, SHRT_MAX},
    {QMetaType::UShort, 0, USHRT_MAX},           {QMetaType::UChar, 0, UCHAR_MAX},
    {QMetaType::Char, SCHAR_MIN, SCHAR_MAX},     {QMetaType::SChar, SCHAR_MIN, SCHAR_MAX},
    {QMetaType::LongLong, LLONG_MIN, LLONG_MAX},
};

const TIntegerType* IntegerTypeOf(int TypeId) {
    for (const TIntegerType& Type : IntegerTypes)
        if (Type.Id == TypeId)
            return &Type;
    return nullptr;
}

TValueKind KindOf(const QMetaProperty& Property, const std::string& Path) {
    const QMetaType Type = Property.metaType();
    if (Type.flags().testFlag(QMetaType::IsEnumeration)) {
        const QMetaEnum Enum = iEnumeratorOf(Property);
        if (Enum.isValid())
            return Enum.isFlag() ? TValueKind::Set : TValueKind::Enumeration;
    }
    if (Type.flags().testFlag(QMetaType::IsGadget))
        return TValueKind::SubObject;
    if (Type == QMetaType::fromType<std::string>())
        return TValueKind::Text;
    if (IntegerTypeOf(Type.id()))
        return TValueKind::Integer;
    switch (Type.id()) {
    case QMetaType::Bool:
        return TValueKind::Boolean;
    case QMetaType::UInt:
        return TValueKind::Colour;
    case QMetaType::Double:
    case QMetaType::Float:
        return TValueKind::Real;
    case QMetaType::QString:
        return TValueKind::QtText;
    default:
        throw Exception("Property " + Path + " has a type that property files cannot hold");
    }
}

std::string Escaped(const std::string& Text) {
    std::string Out;
    for (char C : Text)
        switch (C) {
        case '\\':
            Out += "\\\\";
            break;
        case '\r':
            Out += "\\r";
            break;
        case '\n':
            Out += "\\n";
            break;
        default:
            Out += C;
        }
    return Out;
}

std::string Unescaped(const std::string& Text) {
    std::string Out;
    for (std::size_t I = 0; I < Text.size(); ++I) {
        const char Next = I + 1 < Text.size() ? Text[I + 1] : '\0';
        if (Text[I] == '\\' && (Next == '\\' || Next == 'r' || Next == 'n')) {
            Out += Next == 'r' ? '\r' : Next == 'n' ? '\n' : '\\';
            ++I;
        } else
            Out += Text[I];
    }
    return Out;
}

template <typename Real> std::string RealText(Real V) {
    char Buffer[64];
    const auto Result = std::to_chars(Buffer, Buffer + sizeof Buffer, V);
    return std::string(Buffer, Result.ptr);
}

std::string SetText(const QMetaEnum& Enum, int Bits, const std::string& Path) {
    std::string Out;
    for (int Ordinal = 0; Ordinal < 32; ++Ordinal) {
        if ((unsigned(Bits) >> Ordinal & 1u) == 0)
            continue;
        const char* Key = Enum.valueToKey(Ordinal);
        if (!Key)
            throw Exception("Property " + Path + " holds an element without a name");
        Out += (Out.empty() ? "" : ",") + std::string(Key);
    }
    return Out;
}

std::string ValueText(const QMetaProperty& Property, TValueKind Kind, const QVariant& Value,
                      const std::string& Path) {
    switch (Kind) {
    case TValueKind::Boolean:
        return Value.toBool() ? "True" : "False";
    case TValueKind::Integer:
        return std::to_string(Value.toLongLong());
    case TValueKind::Colour: {
        char Buffer[16];
        std::snprintf(Buffer, sizeof Buffer, "$%08X", Value.toUInt());
        return Buffer;
    }
    case TValueKind::Real:
        return Property.metaType().id() == QMetaType::Float ? RealText(Value.toFloat())
                                                            : RealText(Value.toDouble());
    case TValueKind::Text:
        return Escaped(Value.value<std::string>());
    case TValueKind::QtText:
        return Escaped(Value.toString().toStdString());
    case TValueKind::Enumeration: {
        const char* Key = iEnumeratorOf(Property).valueToKey(Value.toInt());
        if (!Key)
            throw Exception("Property " + Path + " holds a value without a name");
        return Key;
    }
    case TValueKind::Set:
        return SetText(iEnumeratorOf(Property), Value.toInt(), Path);
    case TValueKind::SubObject:
        break;
    }
    throw Exception("Property " + Path + " is an object");
}

using TReader = std::function<QVariant(const QMetaProperty&)>;

void AddLines(const QMetaObject& Meta, int First, const TReader& Read,
              const std::vector<std::string>& Excluded, const std::string& Prefix,
              std::vector<TPropertyLine>& Lines) {
    for (int I = First; I < Meta.propertyCount(); ++I) {
        const QMetaProperty Property = Meta.property(I);
        const std::string Path = Prefix + Property.name();
        if (!Property.isStored() || !Property.isWritable() ||
            std::find(Excluded.begin(), Excluded.end(), Property.name()) != Excluded.end())
            continue;
        const TValueKind Kind = KindOf(Property, Path);
        const QVariant Value = Read(Property);
        if (Kind != TValueKind::SubObject) {
            Lines.push_back({Path, ValueText(Property, Kind, Value, Path)});
            continue;
        }
        const void* Gadget = Value.constData();
        AddLines(
            *Property.metaType().metaObject(), 0,
            [Gadget](const QMetaProperty& P) { return P.readOnGadget(Gadget); }, {}, Path + ".",
            Lines);
    }
}

[[noreturn]] void InvalidValue(const TPropertyLine& Line) {
    throw Exception("Invalid value '" + Line.Value + "' for property " + Line.Path);
}

long long IntegerValue(const TPropertyLine& Line, int Base, long long Min, long long Max) {
    const std::string& Text = Line.Value;
    const std::size_t Skip = Base == 16 ? 1 : 0;
    long long V = 0;
    const auto Result = std::from_chars(Text.data() + Skip, Text.data() + Text.size(), V, Base);
    if (Text.size() == Skip || Result.ec != std::errc() ||
        Result.ptr != Text.data() + Text.size() || V < Min || V > Max)
        InvalidValue(Line);
    return V;
}

int EnumValue(const QMetaEnum& Enum, const std::string& Name, const TPropertyLine& Line) {
    for (int I = 0; I < Enum.keyCount(); ++I)
        if (SameText(Enum.key(I), Name))
            return Enum.value(I);
    InvalidValue(Line);
}

int SetBits(const QMetaEnum& Enum, const TPropertyLine& Line) {
    unsigned Bits = 0;
    if (Line.Value.empty())
        return 0;
    for (const std::string& Name : Split(Line.Value, ','))
        Bits |= 1u << EnumValue(Enum, Name, Line);
    return int(Bits);
}

QVariant Converted(QVariant Value, const QMetaProperty& Property, const TPropertyLine& Line) {
    if (!Value.convert(Property.metaType()))
        InvalidValue(Line);
    return Value;
}

QVariant ParsedValue(const QMetaProperty& Property, TValueKind Kind, const TPropertyLine& Line) {
    const std::string& Text = Line.Value;
    switch (Kind) {
    case TValueKind::Boolean:
        if (SameText("True", Text) || SameText("False", Text))
            return QVariant(SameText("True", Text));
        InvalidValue(Line);
    case TValueKind::Integer: {
        const TIntegerType* Type = IntegerTypeOf(Property.metaType().id());
        return Converted(QVariant(IntegerValue(Line, 10, Type->Min, Type->Max)), Property, Line);
    }
    case TValueKind::Colour: {
        const bool Hex = !Text.empty() && Text[0] == '$';
        const long long V = IntegerValue(Line, Hex ? 16 : 10, 0, UINT_MAX);
        return QVariant(unsigned(V));
    }
    case TValueKind::Real: {
        double V = 0;
        const auto Result = std::from_chars(Text.data(), Text.data() + Text.size(), V);
        if (Text.empty() || Result.ec != std::errc() || Result.ptr != Text.data() + Text.size())
            InvalidValue(Line);
        return Converted(QVariant(V), Property, Line);
    }
    case TValueKind::Text:
        return QVariant::fromValue(Unescaped(Text));
    case TValueKind::QtText:
        return QVariant(QString::fromStdString(Unescaped(Text)));
    case TValueKind::Enumeration:
        return Converted(QVariant(EnumValue(iEnumeratorOf(Property), Text, Line)), Property, Line);
    case TValueKind::Set:
        return Converted(QVariant(SetBits(iEnumeratorOf(Property), Line)), Property, Line);
    case TValueKind::SubObject:
        break;
    }
    throw Exception("Property " + Line.Path + " is an object");
}

QMetaProperty FindProperty(const QMetaObject& Meta, int First, const std::string& Name) {
    for (int I = First; I < Meta.propertyCount(); ++I)
        if (SameText(Meta.property(I).name(), Name))
            return Meta.property(I);
    return {};
}

// The properties along a path, outermost first, and the value for the last.
struct TAssignment {
    std::string Path;
    std::vector<QMetaProperty> Chain;
    QVariant Value;
};

TAssignment Resolved(const QMetaObject& Meta, int First, const TPropertyLine& Line) {
    const std::vector<std::string> Names = Split(Line.Path, '.');
    TAssignment Assignment{Line.Path, {}, {}};
    const QMetaObject* Owner = &Meta;
    for (std::size_t I = 0; I < Names.size(); ++I) {
        const QMetaProperty Property = FindProperty(*Owner, I == 0 ? First : 0, Names[I]);
        if (!Property.isValid() || !Property.isWritable())
            throw Exception("Unknown property " + Line.Path);
        Assignment.Chain.push_back(Property);
        const TValueKind Kind = KindOf(Property, Line.Path);
        const bool Last = I + 1 == Names.size();
        if (Last) {
            Assignment.Value = ParsedValue(Property, Kind, Line);
        } else {
            if (Kind != TValueKind::SubObject)
                throw Exception("Unknown property " + Line.Path);
            Owner = Property.metaType().metaObject();
        }
    }
    return Assignment;
}

void Check(bool Written, const TAssignment& Assignment) {
    if (!Written)
        throw Exception("Cannot set property " + Assignment.Path);
}

void AssignInGadget(const TAssignment& Assignment, std::size_t Depth, void* Gadget) {
    const QMetaProperty& Property = Assignment.Chain[Depth];
    if (Depth + 1 == Assignment.Chain.size()) {
        Check(Property.writeOnGadget(Gadget, Assignment.Value), Assignment);
        return;
    }
    QVariant Inner = Property.readOnGadget(Gadget);
    AssignInGadget(Assignment, Depth + 1, Inner.data());
    Check(Property.writeOnGadget(Gadget, Inner), Assignment);
}

void Assign(QObject& Object, const TAssignment& Assignment) {
    const QMetaProperty& Outer = Assignment.Chain.front();
    if (Assignment.Chain.size() == 1) {
        Check(Outer.write(&Object, Assignment.Value), Assignment);
        return;
    }
    QVariant Sub = Outer.read(&Object);
    AssignInGadget(Assignment, 1, Sub.data());
    Check(Outer.write(&Object, Sub), Assignment);
}

bool IsUtf8(const std::string& Text) {
    QStringDecoder Decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString Decoded = Decoder.decode(QByteArrayView(Text.data(), qsizetype(Text.size())));
    return !Decoder.hasError();
}

} // namespace

std::vector<TPropertyLine> iPublishedProperties(const QObject& Object, const QMetaObject& From,
                                                const std::vector<std::string>& Excluded,
                                                const std::string& Prefix) {
    std::vector<TPropertyLine> Lines;
    AddLines(
        *Object.metaObject(), From.propertyOffset(),
        [&Object](const QMetaProperty& P) { return P.read(&Object); }, Excluded, Prefix, Lines);
    return Lines;
}

void iApplyProperties(QObject& Object, const QMetaObject& From,
                      const std::vector<TPropertyLine>& Lines) {
    std::vector<TAssignment> Assignments;
    for (const TPropertyLine& Line : Lines)
        Assignments.push_back(Resolved(*Object.metaObject(), From.propertyOffset(), Line));
    for (const TAssignment& Assignment : Assignments)
        Assign(Object, Assignment);
}

void iCheckProperties(const QObject& Object, const QMetaObject& From,
                      const std::vector<TPropertyLine>& Lines) {
    for (const TPropertyLine& Line : Lines)
        Resolved(*Object.metaObject(), From.propertyOffset(), Line);
}

TPropertyLine iSplitPropertyLine(const std::string& Line) {
    const std::size_t Equals = Line.find('=');
    if (Equals == std::string::npos)
        throw Exception("Missing '=' in the line \"" + Line + "\"");
    return {Trim(Line.substr(0, Equals)), Trim(Line.substr(Equals + 1))};
}

std::string iJoinPropertyLine(const TPropertyLine& Line) {
    return Line.Path + " = " + Line.Value;
}

QMetaEnum iEnumeratorOf(const QMetaProperty& Property) {
    if (Property.isEnumType())
        return Property.enumerator();
    const QMetaType Type = Property.metaType();
    if (const QMetaObject* Scope = Type.metaObject())
        for (int I = 0; I < Scope->enumeratorCount(); ++I) {
            const QMetaEnum Enum = Scope->enumerator(I);
            std::string Name = std::string(Enum.scope()) + "::" + Enum.enumName();
            if (Enum.isFlag())
                Name = "QFlags<" + Name + ">";
            if (Name == Type.name())
                return Enum;
        }
    return {};
}

bool SameText(const std::string& A, const std::string& B) {
    return QString::fromStdString(A).compare(QString::fromStdString(B), Qt::CaseInsensitive) == 0;
}

std::vector<TPropertyLine> iParsePropertyText(const std::string& Text) {
    // Invalid bytes would otherwise turn silently into replacement characters.
    if (!IsUtf8(Text) || Text.find('\0') != std::string::npos)
        throw Exception("The file is not a UTF-8 text file");
    std::vector<TPropertyLine> Lines;
    std::istringstream Stream(Text);
    for (std::string Line; std::getline(Stream, Line);)
        if (!Trim(Line).empty())
            Lines.push_back(iSplitPropertyLine(Line));
    return Lines;
}

std::vector<TPropertyLine> iReadPropertyFile(const std::string& FileName) {
    std::ifstream File(FileName, std::ios::binary);
    if (!File)
        throw Exception("Cannot open file \"" + FileName + "\"");
    const std::string Text{std::istreambuf_iterator<char>(File), std::istreambuf_iterator<char>()};
    if (File.bad())
        throw Exception("Cannot read file \"" + FileName + "\"");
    return iParsePropertyText(Text);
}

void iWritePropertyFile(const std::string& FileName, const std::vector<TPropertyLine>& Lines) {
    std::ofstream File(FileName, std::ios::binary | std::ios::trunc);
    for (const TPropertyLine& Line : Lines)
        File << iJoinPropertyLine(Line) << '\n';
    File.close();
    if (!File)
        throw Exception("Cannot write file \"" + FileName + "\"");
}

void iWriteTextFile(const std::string& FileName, const std::string& Text) {
    QSaveFile File(QString::fromStdString(FileName));
    // Unbuffered: a buffered save file loses the failure of a write that
    // stops half way (a full disk) and commits the truncated text.
    if (!File.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Exception("Cannot create file \"" + FileName + "\". " +
                        File.errorString().toStdString());
    // Until the commit the text goes to a new file, so a failed save leaves
    // an earlier file as it was.
    const qint64 Written = File.write(Text.data(), qint64(Text.size()));
    if (Written != qint64(Text.size())) {
        const std::string Reason = Written >= 0 ? "Only " + std::to_string(Written) + " of " +
                                                      std::to_string(Text.size()) +
                                                      " bytes could be written; the disk "
                                                      "may be full."
                                                : File.errorString().toStdString();
        throw Exception("Cannot write file \"" + FileName + "\". " + Reason);
    }
    if (!File.commit())
        throw Exception("Cannot write file \"" + FileName + "\". " +
                        File.errorString().toStdString());
}

void iAppendTextFile(const std::string& FileName, const std::string& Text) {
    QFile File(QString::fromStdString(FileName));
    // Unbuffered, so that the failure of each write is seen here.
    if (!File.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw Exception("Cannot open file \"" + FileName + "\". " +
                        File.errorString().toStdString());
    const bool Seekable = !File.isSequential();
    const qint64 Before = Seekable ? File.size() : 0;
    const qint64 Written = File.write(Text.data(), qint64(Text.size()));
    if (Written != qint64(Text.size())) {
        const std::string Reason =
            Written >= 0 ? "The disk may be full." : File.errorString().toStdString();
        if (Seekable && File.size() > Before)
            File.resize(Before);
        throw Exception("Cannot write file \"" + FileName + "\". " + Reason);
    }
}

void iOpenForWriting(const std::string& FileName, bool MustExist) {
    QFile File(QString::fromStdString(FileName));
    const QIODevice::OpenMode Mode =
        MustExist ? QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly
                  : QIODevice::WriteOnly | QIODevice::Truncate;
    if (!File.open(Mode))
        throw Exception("Cannot open file \"" + FileName + "\". " +
                        File.errorString().toStdString());
}

std::string iReadTextFile(const std::string& FileName) {
    QFile File(QString::fromStdString(FileName));
    if (!File.open(QIODevice::ReadOnly))
        throw Exception("Cannot open file \"" + FileName + "\". " +
                        File.errorString().toStdString());
    const QByteArray Bytes = File.readAll();
    if (File.error() != QFileDevice::NoError)
        throw Exception("Cannot read file \"" + FileName + "\". " +
                        File.errorString().toStdString());
    return Bytes.toStdString();
}
