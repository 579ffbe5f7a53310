#include "data/EmbeddedDatabase.h"

#include "data/ModSQL.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <vector>

static void initResources() { Q_INIT_RESOURCE(data); }

namespace EmbeddedDatabase {

QString dataFolder() {
    const QDir program(QCoreApplication::applicationDirPath());
    if (!program.exists(AllUsersMarker))
        return program.path();
    const QString local = qEnvironmentVariable("LOCALAPPDATA");
    const QString base = local.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) : local;
    return QDir(QDir::fromNativeSeparators(base)).filePath(QStringLiteral("Brentoval"));
}

QString defaultPath() { return QDir(dataFolder()).filePath(FileName); }

QStringList schemaStatements(const QString& dialect) {
    initResources();
    QFile f(QStringLiteral(":/schema/%1.sql").arg(dialect));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(f.readAll()).split(u'\n'))
        if (!line.trimmed().startsWith(QLatin1String("--")))
            lines.append(line);
    QStringList out;
    for (const QString& stmt : lines.join(u'\n').split(u';'))
        if (!stmt.trimmed().isEmpty())
            out.append(stmt.trimmed());
    return out;
}

QString tableOf(const QString& createStatement) { return createStatement.section(u' ', 2, 2).trimmed(); }

const std::vector<DemoDrug>& demoCatalogue() {
    static const std::vector<DemoDrug> drugs = {
        {"Acetylcysteine 200mg sachets", 24.5, 12},   {"Acyclovir 400mg tablets", 38, 10},
        {"Albendazole 400mg tablets", 9.5, 8},         {"Allopurinol 100mg tablets", 14, 10},
        {"Alprazolam 0.5mg tablets", 21, 7},           {"Ambroxol 30mg syrup", 17.5, 11},
        {"Amiodarone 200mg tablets", 46, 9},           {"Amlodipine 5mg tablets", 27, 12},
        {"Amoxicillin 500mg capsules", 32, 10},        {"Amoxicillin clavulanate 1g tablets", 78, 9},
        {"Ampicillin 500mg capsules", 19, 8},          {"Atenolol 50mg tablets", 12.5, 10},
        {"Atorvastatin 20mg tablets", 58, 13},         {"Azithromycin 500mg tablets", 64, 11},
        {"Baclofen 10mg tablets", 29, 9},              {"Beclomethasone nasal spray", 41, 8},
        {"Betahistine 16mg tablets", 35, 10},          {"Betamethasone cream", 13, 12},
        {"Bisoprolol 5mg tablets", 31.5, 11},          {"Bromhexine 8mg tablets", 8.75, 9},
        {"Budesonide inhaler", 122, 7},                {"Calcium carbonate 600mg tablets", 26, 14},
        {"Captopril 25mg tablets", 11, 10},            {"Carbamazepine 200mg tablets", 23, 9},
        {"Carvedilol 6.25mg tablets", 33, 10},         {"Cefadroxil 500mg capsules", 44, 11},
        {"Cefixime 400mg capsules", 69, 10},           {"Ceftriaxone 1g vial", 27.5, 8},
        {"Cefuroxime 500mg tablets", 87, 10},          {"Cetirizine 10mg tablets", 15, 15},
        {"Chlorpheniramine 4mg tablets", 6.5, 12},     {"Ciprofloxacin 500mg tablets", 36, 10},
        {"Citalopram 20mg tablets", 42, 9},            {"Clarithromycin 500mg tablets", 95, 8},
        {"Clindamycin 300mg capsules", 57, 9},         {"Clobetasol cream", 18.25, 10},
        {"Clonazepam 2mg tablets", 19.5, 7},           {"Clopidogrel 75mg tablets", 74, 12},
        {"Clotrimazole cream", 11.5, 13},              {"Colchicine 0.5mg tablets", 16, 10},
        {"Dapagliflozin 10mg tablets", 198, 6},        {"Desloratadine 5mg tablets", 39, 12},
        {"Dexamethasone 8mg ampoule", 7.5, 9},         {"Diazepam 5mg tablets", 9, 8},
        {"Diclofenac potassium 50mg tablets", 22, 15}, {"Diclofenac sodium 75mg ampoule", 12, 12},
        {"Digoxin 0.25mg tablets", 8, 10},             {"Diltiazem 60mg tablets", 28, 9},
        {"Domperidone 10mg tablets", 14.5, 13},        {"Doxycycline 100mg capsules", 21.5, 10},
        {"Empagliflozin 25mg tablets", 210, 6},        {"Enalapril 10mg tablets", 17, 11},
        {"Enoxaparin 40mg syringe", 96, 7},            {"Escitalopram 10mg tablets", 63, 10},
        {"Esomeprazole 40mg capsules", 84, 12},        {"Famotidine 40mg tablets", 24, 11},
        {"Fexofenadine 180mg tablets", 47, 12},        {"Fluconazole 150mg capsules", 18, 10},
        {"Fluoxetine 20mg capsules", 34, 9},           {"Folic acid 5mg tablets", 5.5, 10},
        {"Furosemide 40mg tablets", 7, 12},            {"Gabapentin 300mg capsules", 52, 10},
        {"Gentamicin 80mg ampoule", 6, 8},             {"Gliclazide 80mg tablets", 25, 11},
        {"Glimepiride 2mg tablets", 37, 12},           {"Haloperidol 5mg tablets", 13.5, 8},
        {"Hydrochlorothiazide 25mg tablets", 9.25, 10}, {"Hydrocortisone cream", 14, 12},
        {"Hydroxychloroquine 200mg tablets", 61, 9},   {"Hyoscine butylbromide 10mg tablets", 16.5, 13},
        {"Ibuprofen 400mg tablets", 18, 15},           {"Indapamide 1.5mg tablets", 29.5, 10},
        {"Insulin glargine pen", 310, 5},              {"Isosorbide mononitrate 20mg tablets", 19, 10},
        {"Itraconazole 100mg capsules", 72, 9},        {"Ivermectin 6mg tablets", 26.5, 8},
        {"Ketoconazole shampoo", 45, 11},              {"Ketoprofen gel", 23, 14},
        {"Lactulose syrup", 31, 12},                   {"Lamotrigine 100mg tablets", 66, 9},
        {"Lansoprazole 30mg capsules", 48, 11},        {"Levetiracetam 500mg tablets", 89, 8},
        {"Levocetirizine 5mg tablets", 28, 13},        {"Levofloxacin 500mg tablets", 59, 10},
        {"Levothyroxine 100mcg tablets", 22.5, 10},    {"Linagliptin 5mg tablets", 176, 7},
        {"Lisinopril 10mg tablets", 21, 11},           {"Loperamide 2mg capsules", 10.5, 12},
        {"Loratadine 10mg tablets", 13, 15},           {"Losartan 50mg tablets", 38.5, 12},
        {"Mebeverine 135mg tablets", 33, 13},          {"Meloxicam 15mg tablets", 27, 14},
        {"Metformin 850mg tablets", 15.5, 12},         {"Methyldopa 250mg tablets", 20, 10},
        {"Metoclopramide 10mg tablets", 6.75, 11},     {"Metoprolol 50mg tablets", 24, 10},
        {"Metronidazole 500mg tablets", 12, 12},       {"Miconazole oral gel", 19, 11},
        {"Montelukast 10mg tablets", 71, 11},          {"Mupirocin ointment", 29, 10},
        {"Naproxen 500mg tablets", 25.5, 13},          {"Nifedipine 20mg capsules", 18.5, 10},
        {"Nitrofurantoin 100mg capsules", 27, 9},      {"Nystatin oral suspension", 16, 10},
        {"Omeprazole 20mg capsules", 28.5, 14},        {"Ondansetron 8mg tablets", 43, 10},
        {"Oseltamivir 75mg capsules", 115, 6},         {"Pantoprazole 40mg tablets", 52.5, 12},
        {"Paracetamol 500mg tablets", 10, 15},         {"Paroxetine 20mg tablets", 49, 9},
        {"Perindopril 5mg tablets", 44.5, 10},         {"Pioglitazone 30mg tablets", 36, 10},
        {"Prednisolone 5mg tablets", 8.5, 11},         {"Pregabalin 75mg capsules", 68, 10},
        {"Propranolol 40mg tablets", 10, 12},          {"Quetiapine 100mg tablets", 77, 8},
        {"Rabeprazole 20mg tablets", 55, 12},          {"Ramipril 5mg tablets", 39, 11},
        {"Ranitidine 150mg tablets", 14, 10},          {"Risperidone 2mg tablets", 41.5, 8},
        {"Rivaroxaban 20mg tablets", 245, 6},          {"Rosuvastatin 10mg tablets", 67, 13},
        {"Salbutamol inhaler", 32, 10},                {"Sertraline 50mg tablets", 53, 9},
        {"Sildenafil 50mg tablets", 48, 10},           {"Simvastatin 20mg tablets", 26, 12},
        {"Sitagliptin 100mg tablets", 189, 7},         {"Spironolactone 25mg tablets", 17.5, 10},
        {"Sucralfate 1g tablets", 30, 11},             {"Sulfasalazine 500mg tablets", 35.5, 9},
        {"Tamsulosin 0.4mg capsules", 58.5, 11},       {"Telmisartan 40mg tablets", 62, 12},
        {"Terbinafine 250mg tablets", 73, 9},          {"Tetracycline eye ointment", 7.25, 10},
        {"Tinidazole 500mg tablets", 15, 11},          {"Tramadol 50mg capsules", 22, 8},
        {"Tranexamic acid 500mg tablets", 34.5, 10},   {"Trimebutine 200mg tablets", 27.5, 12},
        {"Valproate 500mg tablets", 46.5, 9},          {"Valsartan 80mg tablets", 54, 12},
        {"Vitamin B complex tablets", 12.5, 15},       {"Vitamin D3 50000 IU capsules", 36.5, 13},
        {"Warfarin 5mg tablets", 11, 9},               {"Zinc sulfate 20mg tablets", 13.5, 12},
    };
    return drugs;
}

static bool hasTable(QSqlDatabase& db, const QString& table) {
    return db.tables().contains(table, Qt::CaseInsensitive);
}

bool createAndSeed(QSqlDatabase& db, const QString& dialect, QString* error) {
    QSqlQuery q(db);
    auto run = [&](const QString& sql) {
        if (q.exec(sql))
            return true;
        if (error)
            *error = q.lastError().text();
        return false;
    };
    const bool hadControl = hasTable(db, QStringLiteral("smartertable"));
    const bool hadCatalogue = hasTable(db, QStringLiteral("bowndrugs"));
    // Run on every start, so a database made by an older copy gains the group's tables too.
    for (const QString& stmt : schemaStatements(dialect) + schemaStatements(QStringLiteral("group-") + dialect)) {
        if (hasTable(db, tableOf(stmt)))
            continue;
        if (!run(stmt))
            return false;
    }
    // Where older copies left two rows in a key's way the key waits; the program works without it.
    for (const QString& stmt : schemaStatements(QStringLiteral("keys-") + dialect))
        q.exec(stmt);
    if (!hadControl) {
        using ModSQL::SqlQuote;
        const QString welcome =
            QStringLiteral("مرحبا بكم في نظام الشراء الجماعي لصيدليات كفر الشيخ - اطلب ادويتك في اي وقت");
        if (!run(QStringLiteral("INSERT INTO smartertable (appname,appversion,appmsg,appadminpassword) VALUES(") +
                 SqlQuote(QStringLiteral("BRENTOVAL")) + u',' + SqlQuote(QStringLiteral("9.00")) + u',' +
                 SqlQuote(welcome) + u',' + SqlQuote(DemoManagerPhone) + u')'))
            return false;
    }
    if (!hadCatalogue) {
        if (!db.transaction() && dialect == QLatin1String("sqlite"))
            return false;
        int n = 0;
        for (const DemoDrug& d : demoCatalogue()) {
            ++n;
            // A few rows carry stock and demand so the catalogue editor's ratio has something to show.
            const QString stock = QString::number((n * 7) % 23);
            const QString demanded = QString::number((n * 5) % 17);
            if (!run(QStringLiteral("INSERT INTO bowndrugs (drug,price,disc,lastdate,stock,demanded) VALUES(") +
                     ModSQL::SqlQuote(QString::fromUtf8(d.name)) + u',' + ModSQL::SqlQuote(QString::number(d.price)) +
                     u',' + ModSQL::SqlQuote(QString::number(d.disc)) + QStringLiteral(",'261101',") +
                     ModSQL::SqlQuote(stock) + u',' + ModSQL::SqlQuote(demanded) + u')')) {
                db.rollback();
                return false;
            }
        }
        db.commit();
    }
    return true;
}

bool ensureCreated(const QString& path, QString* error) {
    const QString name = QStringLiteral("brentoval-setup");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=15000"));
        if (!db.open()) {
            if (error)
                *error = db.lastError().text();
        } else {
            // A database an older copy left in write-ahead mode goes back to the rollback journal
            // (see ServerConnection::Open); while another copy has it open it stays as it is.
            QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
            ok = createAndSeed(db, QStringLiteral("sqlite"), error);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

} // namespace EmbeddedDatabase
