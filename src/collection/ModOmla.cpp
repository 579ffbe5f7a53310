#include "collection/ModOmla.h"

#include "collection/Cp1256.h"
#include "data/ModGFun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>
#include <vector>

namespace ModOmla {

ClientBookTable ClientBook;

namespace {
QString g_folder;
bool g_folderSet = false;

const QString NotSaved = QStringLiteral("لم يتم تسجيل العميل الجديد");

QString shownPath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

// The file as it is on disk: entries, damage marks and the record bytes exactly as stored.
struct DiskBook {
    std::array<ClientRecord, BookSize + 1> entries{};
    std::array<bool, BookSize + 1> damaged{};
    std::array<QByteArray, BookSize + 1> raw{};
    int damagedCount = 0;
};

std::optional<DiskBook> readDisk(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray all = f.read(qint64(BookSize) * RecordLength);
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    DiskBook book;
    for (int n = 1; n <= BookSize; ++n) {
        const qsizetype start = qsizetype(n - 1) * RecordLength;
        if (start >= all.size())
            break;
        const QByteArrayView bytes =
            QByteArrayView(all).sliced(start, qMin<qsizetype>(RecordLength, all.size() - start));
        bool damaged = false;
        book.entries[n] = DecodeRecord(bytes, &damaged);
        book.damaged[n] = damaged;
        book.raw[n] = bytes.toByteArray();
        if (damaged)
            ++book.damagedCount;
    }
    return book;
}

bool isFreeRecord(const ClientRecord& r) {
    return ModGFun::CleanText(r.ClientTel).isEmpty();
}

void appendText(QByteArray& out, const QByteArray& text) {
    const quint16 count = quint16(text.size());
    out += char(count & 0xFF);
    out += char(count >> 8);
    out += text;
}
} // namespace

// The file side of the book, with access to what the table keeps for merging.
struct BookFile {
    static BookStatus load();
    static BookStatus save(int trackedEntry, int* trackedNewEntry);
    static void restore(int n, const ClientRecord& record) {
        ClientBook.m_entries[n] = record;
        ClientBook.m_indexValid = false;
    }
};

std::optional<QByteArray> EncodeRecord(const ClientRecord& record) {
    const auto name = Cp1256::encode(record.ClientName);
    const auto spare = Cp1256::encode(record.ClientSpare);
    const auto tel = Cp1256::encode(record.ClientTel);
    if (!name || !spare || !tel)
        return std::nullopt;
    if (name->size() + spare->size() + tel->size() > MaxTextBytes)
        return std::nullopt;
    QByteArray out;
    out.reserve(RecordLength);
    appendText(out, *name);
    appendText(out, *spare);
    appendText(out, *tel);
    out.append(RecordLength - out.size(), '\0');
    return out;
}

ClientRecord DecodeRecord(QByteArrayView bytes, bool* damaged) {
    bytes = bytes.first(qMin<qsizetype>(bytes.size(), RecordLength));
    bool bad = false;
    qsizetype pos = 0;
    QString texts[3];
    for (QString& text : texts) {
        if (pos >= bytes.size())
            break;
        if (pos + 2 > bytes.size()) {
            bad = true;
            break;
        }
        const quint16 count = qFromLittleEndian<quint16>(bytes.data() + pos);
        pos += 2;
        qsizetype take = count;
        if (pos + take > bytes.size()) {
            bad = true;
            take = bytes.size() - pos;
        }
        text = Cp1256::decode(bytes.sliced(pos, take));
        pos += take;
        if (bad)
            break;
    }
    if (damaged)
        *damaged = bad;
    return {texts[0], texts[1], texts[2]};
}

void ClientBookTable::setEntry(int n, const ClientRecord& record) {
    if (n < 0 || n > BookSize)
        return;
    m_entries[n] = record;
    m_damaged[n] = false;
    m_indexValid = false;
}

bool ClientBookTable::isFree(int n) const {
    return !m_damaged[n] && isFreeRecord(m_entries[n]);
}

void ClientBookTable::clear() {
    m_entries.fill({});
    m_base.fill({});
    m_damaged.fill(false);
    m_indexValid = false;
}

void ClientBookTable::rebuildIndex() const {
    m_index.clear();
    m_index.reserve(BookSize);
    // Filled from the top so the lowest entry of a phone is the one kept.
    for (int n = BookSize; n >= 1; --n)
        m_index[ModGFun::CleanText(m_entries[n].ClientTel)] = n;
    m_indexValid = true;
}

QString ClientBookTable::nameByTel(const QString& tel) const {
    if (!m_indexValid)
        rebuildIndex();
    const auto it = m_index.constFind(ModGFun::CleanText(tel));
    if (it == m_index.constEnd())
        return {};
    return ModGFun::CleanText(m_entries[*it].ClientName);
}

int ClientBookTable::findFree() const {
    for (int n = 1; n <= BookSize; ++n)
        if (isFree(n))
            return n;
    return 0;
}

void setBookFolder(const QString& folder) {
    g_folder = folder;
    g_folderSet = !folder.isEmpty();
}

QString BookPath() {
    const QString folder = g_folderSet ? g_folder : QCoreApplication::applicationDirPath();
    return QDir(folder).filePath(FileName);
}

BookStatus LoadClientBook() {
    return BookFile::load();
}

BookStatus BookFile::load() {
    const QString path = BookPath();
    if (!QFile::exists(path)) {
        // A folder the program may not write to is no reason to stop: a save will say so.
        QFile create(path);
        if (create.open(QIODevice::WriteOnly))
            create.close();
        ClientBook.clear();
        return {};
    }
    const std::optional<DiskBook> disk = readDisk(path);
    if (!disk)
        return {false, QStringLiteral("تعذرت قراءة ملف العملاء\n") + shownPath(path)};
    for (int n = 1; n <= BookSize; ++n) {
        ClientBook.m_entries[n] = disk->entries[n];
        ClientBook.m_base[n] = disk->entries[n];
        ClientBook.m_damaged[n] = disk->damaged[n];
    }
    ClientBook.m_indexValid = false;
    if (disk->damagedCount > 0)
        return {true, QStringLiteral("بعض سجلات ملف العملاء تالفة (%1)، وقد تركت في الملف كما هي")
                          .arg(disk->damagedCount)};
    return {};
}

BookStatus SaveClientBook() {
    return BookFile::save(0, nullptr);
}

BookStatus BookFile::save(int trackedEntry, int* trackedNewEntry) {
    const QString path = BookPath();
    const QString cannotSave = QStringLiteral("تعذر حفظ ملف العملاء\n") + shownPath(path);
    std::optional<DiskBook> disk;
    if (QFile::exists(path)) {
        disk = readDisk(path);
        if (!disk)
            return {false, cannotSave};
    }

    ClientBookTable& book = ClientBook;
    std::array<ClientRecord, BookSize + 1> merged{};
    std::array<bool, BookSize + 1> damaged{};
    std::array<QByteArray, BookSize + 1> raw{};
    std::vector<int> displaced; // our additions whose entry another copy has taken meanwhile
    for (int n = 1; n <= BookSize; ++n) {
        const ClientRecord& mine = book.m_entries[n];
        const ClientRecord& base = book.m_base[n];
        const bool changedHere = !(mine == base);
        auto takeDisk = [&] {
            merged[n] = disk->entries[n];
            damaged[n] = disk->damaged[n];
            raw[n] = disk->raw[n];
        };
        if (!disk) {
            merged[n] = mine;
            damaged[n] = book.m_damaged[n];
        } else if (!changedHere) {
            // Entries are only ever added: one the file lost since our read is ours to keep.
            if (isFreeRecord(disk->entries[n]) && !disk->damaged[n] && !isFreeRecord(base))
                merged[n] = base;
            else
                takeDisk();
        } else if (disk->entries[n] == base || (isFreeRecord(disk->entries[n]) && !disk->damaged[n])) {
            merged[n] = mine;
        } else {
            takeDisk();
            displaced.push_back(n);
        }
    }
    int tracked = trackedEntry;
    for (int from : displaced) {
        int to = 0;
        for (int n = 1; n <= BookSize && !to; ++n)
            if (!damaged[n] && isFreeRecord(merged[n]) && merged[n] == book.m_base[n] &&
                merged[n] == book.m_entries[n])
                to = n;
        if (!to)
            return {false, QStringLiteral("دفتر العملاء ممتلئ (%1 عميل)").arg(BookSize)};
        merged[to] = book.m_entries[from];
        raw[to].clear();
        if (from == trackedEntry)
            tracked = to;
    }

    QByteArray out;
    out.reserve(BookSize * RecordLength);
    for (int n = 1; n <= BookSize; ++n) {
        if (!raw[n].isEmpty()) {
            QByteArray r = raw[n];
            r.append(RecordLength - r.size(), '\0');
            out += r;
            continue;
        }
        const std::optional<QByteArray> rec = EncodeRecord(merged[n]);
        if (!rec)
            return {false, QStringLiteral("بيانات العميل رقم %1 لا تتسع في سجلها").arg(n)};
        out += *rec;
    }

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        return {false, cannotSave};

    for (int n = 1; n <= BookSize; ++n) {
        book.m_entries[n] = merged[n];
        book.m_base[n] = merged[n];
        book.m_damaged[n] = damaged[n];
    }
    book.m_indexValid = false;
    if (trackedNewEntry)
        *trackedNewEntry = tracked;
    return {};
}

QString ClientNameByTel(const QString& tel) {
    return ClientBook.nameByTel(tel);
}
QString ClientNameByTel(const QVariant& tel) {
    return ClientBook.nameByTel(tel.toString());
}
int FindFreeClientSlot() {
    return ClientBook.findFree();
}

int AddClient(const QString& tel, const QString& name, BookStatus* status) {
    auto fail = [&](const QString& message) {
        if (status)
            *status = {false, message + u'\n' + NotSaved};
        return 0;
    };
    const auto nameBytes = Cp1256::encode(name);
    const auto telBytes = Cp1256::encode(tel);
    if (!nameBytes || !telBytes)
        return fail(QStringLiteral("الاسم او التليفون به حروف لا يمكن حفظها في ملف العملاء"));
    if (nameBytes->size() + telBytes->size() > MaxTextBytes)
        return fail(QStringLiteral("الاسم والتليفون معا اطول من %1 حرفا").arg(MaxTextBytes));
    const int slot = FindFreeClientSlot();
    if (slot == 0)
        return fail(QStringLiteral("دفتر العملاء ممتلئ (%1 عميل)").arg(BookSize));
    const ClientRecord before = ClientBook.entry(slot);
    ClientRecord entry = before;
    entry.ClientTel = tel;
    entry.ClientName = name;
    if (!EncodeRecord(entry)) // the spare text of a free entry leaves less room
        return fail(QStringLiteral("الاسم والتليفون معا اطول من %1 حرفا")
                        .arg(MaxTextBytes - entry.ClientSpare.size()));
    ClientBook.setEntry(slot, entry);
    int stored = slot;
    const BookStatus saved = BookFile::save(slot, &stored);
    if (!saved.ok) {
        BookFile::restore(slot, before);
        return fail(saved.message);
    }
    if (status)
        *status = {};
    return stored;
}

} // namespace ModOmla
