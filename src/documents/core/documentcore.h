#pragma once
// Cargo documents without widgets: the empty document row that a completed
// weighing pair gets.
#include <QDate>
#include <QString>

namespace zv::store {
class TBVDMod1;
}

namespace zv::documents {

// Appends the empty cargo document of one journal event: ID_DOCUMEN = the
// event's ID_DOCUMEN, DATE_DOC = its DATE_EVEN, TIME_DOC = its TIME_EVEN,
// every other field empty; then re-reads BVQDoc. A document with that key
// that already exists (perhaps already filled in) is kept as it is and no
// second row is made. Returns the document's key. Engine errors are thrown
// as zv::store::DbError.
int CreateDocument(zv::store::TBVDMod1 &dm, int documentId, const QDate &eventDate, const QString &eventTime);

// The same for the event on which the journal query BVQWrEvJrn stands.
// Returns 0 when the query stands on no row.
int CreateDocument(zv::store::TBVDMod1 &dm);

} // namespace zv::documents
