#include "data/WriteRoad.h"

#include "data/ServerConnection.h"

namespace WriteRoad {

namespace {
ServerConnection& server() {
    return ServerConnection::instance();
}

Result failed(const QString& error) {
    switch (server().lastFailure()) {
    case ServerConnection::Failure::Refused:
        return {Outcome::Refused, 0, error};
    case ServerConnection::Failure::NotSent:
        return {Outcome::NotWritten, 0, error};
    case ServerConnection::Failure::ReadOnly:
        return {Outcome::ReadOnly, 0, error, server().databaseFolder()};
    default:
        return {Outcome::Unknown, 0, error};
    }
}

Result settled(Result r, const ReadBack& readBack) {
    if (r.outcome != Outcome::Unknown || !readBack)
        return r;
    switch (readBack()) {
    case 1:
        return {Outcome::Saved, 0, r.error};
    case 0:
        return {Outcome::NotWritten, 0, r.error};
    default:
        return r;
    }
}
} // namespace

Result Step(const QString& sql) {
    long affected = 0;
    QString error;
    server().Execute(sql, affected, &error);
    if (affected > 0)
        return {Outcome::Saved, affected, {}};
    if (error.isEmpty())
        return {Outcome::Taken, 0, {}};
    return failed(error);
}

Result Run(const QString& sql, const ReadBack& readBack) {
    return settled(Step(sql), readBack);
}

Result Transaction(const std::function<Result()>& steps, const ReadBack& readBack) {
    QString error;
    if (!server().BeginTrans(&error)) {
        Result r = failed(error);
        server().RollbackTrans();
        // No reply to the begin: nothing after it was sent.
        if (r.outcome == Outcome::Unknown)
            r.outcome = Outcome::NotWritten;
        return r;
    }
    Result r = steps();
    if (r.outcome != Outcome::Saved) {
        server().RollbackTrans();
        // Uncommitted work dies with its session or its rollback.
        if (r.outcome == Outcome::Unknown)
            r.outcome = Outcome::NotWritten;
        return r;
    }
    if (server().CommitTrans(&error))
        return r;
    return settled(failed(error), readBack);
}

QString Text(const Result& r) {
    switch (r.outcome) {
    case Outcome::Saved:
        return {};
    case Outcome::Taken:
        return r.error.isEmpty() ? TakenText : r.error;
    case Outcome::Refused:
        return RefusedText + u'\n' + r.error;
    case Outcome::NotWritten:
        return NotSavedText;
    case Outcome::Unknown:
        return UnknownText;
    case Outcome::ReadOnly:
        return ReadOnlyText.arg(r.folder);
    }
    return {};
}

} // namespace WriteRoad
