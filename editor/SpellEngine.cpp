#include "editor/SpellEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <hunspell.hxx>
#include <iconv.h>
#include <memory>

namespace {

struct Slot {
    std::unique_ptr<Hunspell> library;
    QString encoding;
    QString folderOverride;
};

Slot& slot() {
    static Slot s;
    return s;
}

bool hasDictionary(const QString& folder, const QString& language) {
    return QFileInfo::exists(folder + QLatin1Char('/') + language + QStringLiteral(".aff")) &&
           QFileInfo::exists(folder + QLatin1Char('/') + language + QStringLiteral(".dic"));
}

bool isUtf8(const QString& encoding) {
    return encoding.compare(QStringLiteral("UTF-8"), Qt::CaseInsensitive) == 0 ||
           encoding.compare(QStringLiteral("UTF8"), Qt::CaseInsensitive) == 0;
}

// The name iconv knows the dictionary's character set by (the library's default is ISO8859-1).
QByteArray iconvName(const QString& encoding) {
    if (encoding.isEmpty())
        return QByteArrayLiteral("ISO8859-1");
    if (encoding.startsWith(QStringLiteral("microsoft-"), Qt::CaseInsensitive))
        return encoding.mid(10).toLatin1(); // microsoft-cp1251 -> cp1251
    return encoding.toLatin1();
}

// Converts with iconv; false when the text cannot be converted completely.
bool convert(const QByteArray& from, const QByteArray& to, const QByteArray& input, QByteArray& output) {
    iconv_t cd = iconv_open(to.constData(), from.constData());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    output.resize(input.size() * 4 + 16);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    char* out = output.data();
    size_t outLeft = static_cast<size_t>(output.size());
    const bool ok = iconv(cd, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv_close(cd);
    output.resize(output.size() - static_cast<qsizetype>(outLeft));
    return ok;
}

// The word in the dictionary's character set; characters the set cannot hold make the word unknown.
bool encode(const QString& word, QByteArray& bytes) {
    const QString& encoding = slot().encoding;
    if (isUtf8(encoding)) {
        bytes = word.toUtf8();
        return true;
    }
    return convert(QByteArrayLiteral("UTF-8"), iconvName(encoding), word.toUtf8(), bytes);
}

QString decode(const std::string& bytes) {
    const QString& encoding = slot().encoding;
    if (isUtf8(encoding))
        return QString::fromStdString(bytes);
    QByteArray utf8;
    if (!convert(iconvName(encoding), QByteArrayLiteral("UTF-8"), QByteArray::fromStdString(bytes), utf8))
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromUtf8(utf8);
}

} // namespace

QString SpellEngine::DictionaryFolder(const QString& language) {
    if (!slot().folderOverride.isEmpty())
        return slot().folderOverride;
    return FindDictionaryFolder(language, QCoreApplication::applicationDirPath());
}

QString SpellEngine::FindDictionaryFolder(const QString& language, const QString& programDir,
                                          const QString& systemFolder) {
    const QString besideProgram = programDir + QStringLiteral("/dic");
    if (hasDictionary(besideProgram, language))
        return besideProgram;
    return systemFolder;
}

void SpellEngine::SetDictionaryFolder(const QString& folder) {
    slot().folderOverride = folder;
}

void SpellEngine::LoadDictionary(const QString& language) {
    Slot& s = slot();
    if (s.library)
        return;
    const QString folder = DictionaryFolder(language);
    const QByteArray aff = QFile::encodeName(folder + QLatin1Char('/') + language + QStringLiteral(".aff"));
    const QByteArray dic = QFile::encodeName(folder + QLatin1Char('/') + language + QStringLiteral(".dic"));
    try {
        s.library = std::make_unique<Hunspell>(aff.constData(), dic.constData());
        s.encoding = QString::fromStdString(s.library->get_dict_encoding());
    } catch (...) {
        s.library.reset();
        s.encoding.clear();
    }
}

void SpellEngine::UnloadDictionary() {
    slot().library.reset();
    slot().encoding.clear();
}

bool SpellEngine::IsLoaded() {
    return slot().library != nullptr;
}

bool SpellEngine::CheckWord(const QString& word) {
    Slot& s = slot();
    QByteArray bytes;
    if (!s.library || !encode(word, bytes) || bytes.size() > kMaxWordBytes)
        return false;
    try {
        return s.library->spell(bytes.toStdString());
    } catch (...) {
        return false;
    }
}

QStringList SpellEngine::Suggest(const QString& word) {
    Slot& s = slot();
    QStringList result;
    QByteArray bytes;
    if (!s.library || !encode(word, bytes) || bytes.size() > kMaxWordBytes)
        return result;
    try {
        for (const std::string& suggestion : s.library->suggest(bytes.toStdString()))
            result.push_back(decode(suggestion));
    } catch (...) {
        result.clear();
    }
    return result;
}

QString SpellEngine::DictionaryEncoding() {
    return slot().encoding;
}
