#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>

// The client book: a local table from a pharmacist's phone to a name, kept in "bvamil.mdb"
// beside the program as 1000 records of 128 bytes.
namespace ModOmla {

inline constexpr int BookSize = 1000;
inline constexpr int RecordLength = 128;
// Three 16-bit counts take 6 of the record's bytes.
inline constexpr int MaxTextBytes = RecordLength - 6;
inline const QString FileName = QStringLiteral("bvamil.mdb");

struct ClientRecord {
    QString ClientName;
    QString ClientSpare;
    QString ClientTel;
    bool operator==(const ClientRecord&) const = default;
};

// Outcome of a file operation or an addition; message is Arabic and meant for the user.
struct BookStatus {
    bool ok = true;
    QString message;
};

// One record as stored: nothing when a text has no Windows-1256 form or the texts do not fit.
std::optional<QByteArray> EncodeRecord(const ClientRecord& record);
// A record of up to 128 bytes (the last one of a file may be shorter). A count that runs past the
// bytes there are marks the record damaged; its text is cut where the bytes end.
ClientRecord DecodeRecord(QByteArrayView bytes, bool* damaged = nullptr);

// Entries 0..1000; 1..1000 are the book, 0 is never stored or searched.
class ClientBookTable {
public:
    const ClientRecord& entry(int n) const { return m_entries[n]; }
    void setEntry(int n, const ClientRecord& record);
    // A damaged record is kept as it was read and is never handed out as free.
    bool isDamaged(int n) const { return m_damaged[n]; }
    bool isFree(int n) const;
    void clear();

    // The cleaned name of the first entry whose cleaned phone equals the cleaned tel, or "".
    QString nameByTel(const QString& tel) const;
    // First free entry 1..1000, or 0.
    int findFree() const;

private:
    friend struct BookFile;
    void rebuildIndex() const;

    std::array<ClientRecord, BookSize + 1> m_entries{};
    std::array<bool, BookSize + 1> m_damaged{};
    // The book as this copy last read or wrote the file; a save merges against it.
    std::array<ClientRecord, BookSize + 1> m_base{};
    mutable QHash<QString, int> m_index;
    mutable bool m_indexValid = false;
};

extern ClientBookTable ClientBook;

// The folder of the file: the program's folder unless a test set another.
void setBookFolder(const QString& folder);
QString BookPath();

// Replaces entries 1..1000 by the file's records; a missing file is created empty. On a file that
// cannot be read the book is left as it was.
BookStatus LoadClientBook();
// Writes entries 1..1000 to a new file that replaces the old one only once complete. Additions
// another copy of the program made to the file since this copy last read it are kept: they are
// merged in first, and an addition of ours that took the same entry moves to the next free one.
BookStatus SaveClientBook();

QString ClientNameByTel(const QString& tel);
QString ClientNameByTel(const QVariant& tel);
int FindFreeClientSlot();

// The add-client step: refuses texts that cannot be stored and a full book, stores the entry and
// saves; when the save fails the book is as before. Returns the entry used (0 when refused).
int AddClient(const QString& tel, const QString& name, BookStatus* status);

} // namespace ModOmla
