#include "editor/SpellEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <hunspell.hxx>
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

// The word in the dictionary's character set; characters the set cannot hold make the word unknown.
bool encode(const QString& word, QByteArray& bytes) {
    const QString& encoding = slot().encoding;
    if (isUtf8(encoding)) {
        bytes = word.toUtf8();
        return true;
    }
    QStringEncoder encoder(encoding.isEmpty() ? "ISO-8859-1" : encoding.toLatin1().constData());
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringEncoder::Latin1);
    bytes = encoder.encode(word);
    if (encoder.hasError())
        return false;
    if (encoding.isEmpty() || encoding.startsWith(QStringLiteral("ISO8859-1"), Qt::CaseInsensitive) ||
        encoding.startsWith(QStringLiteral("ISO-8859-1"), Qt::CaseInsensitive)) {
        // The Latin-1 encoder replaces what it cannot hold instead of reporting it.
        for (QChar ch : word) {
            if (ch.unicode() > 0xFF)
                return false;
        }
    }
    return true;
}

QString decode(const std::string& bytes) {
    const QString& encoding = slot().encoding;
    if (isUtf8(encoding))
        return QString::fromStdString(bytes);
    QStringDecoder decoder(encoding.isEmpty() ? "ISO-8859-1" : encoding.toLatin1().constData());
    if (!decoder.isValid())
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

} // namespace

QString SpellEngine::DictionaryFolder(const QString& language) {
    if (!slot().folderOverride.isEmpty())
        return slot().folderOverride;
    const QString besideProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/dic");
    if (hasDictionary(besideProgram, language))
        return besideProgram;
    return QStringLiteral("/usr/share/hunspell");
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
