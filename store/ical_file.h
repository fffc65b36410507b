// iCalendar files in and out of the date list: what the Import and Export commands do.
#pragma once
#include "core/ical/export.h"
#include "core/ical/import.h"

class RowStore;

enum class IcalRead { ok, unreadable, not_calendar };

// Adds the file's entries to the line store (the list is rebuilt by the caller); entries
// equal to ones already there are counted, not added. today is the machine's local date.
IcalRead import_ical_file(const char* path, RowStore& store, int today_day, int today_month, int today_year,
                          ical::ImportResult& result);

// Writes every entry, held-back lines first, then the rows; false when the file could not be
// written (an existing file then keeps its content).
bool export_ical_file(const char* path, const RowStore& store, ical::ExportResult& result);
