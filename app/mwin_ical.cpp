// The frame's iCalendar commands: Import and Export in the File menu.
#include <windows.h>
#include <cstdio>
#include <string>
#include "fw/log.h"
#include "app/mapp.h"
#include "app/mwin.h"
#include "fw/view.h"
#include "res/resource.h"
#include "store/ical_file.h"

namespace {

const fw::FileTypes ics_files{"iCalendar files (*.ics)\0*.ics\0All Files (*.*)\0*.*\0", "ics"};

// A name typed without an extension gets ".ics", as the dialog itself does on Windows.
std::string with_ics_extension(std::string path)
{
    const size_t name = path.find_last_of("\\/:");
    const size_t dot = path.find('.', name == std::string::npos ? 0 : name + 1);
    if (dot == std::string::npos)
        path += ".ics";
    return path;
}

std::string count_text(const char* format, int a, int b, int c = 0)
{
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string import_summary(const ical::ImportResult& r)
{
    std::string text =
        count_text("%d Dates imported, %d already there, %d skipped", r.imported, r.already_there, r.skipped);
    if (r.unknown_zones > 0)
        text += count_text("\n%d in an unknown time zone were taken as local time", r.unknown_zones, 0);
    if (r.rules_taken_once > 0)
        text += count_text("\n%d repeating rules were taken for their first date only", r.rules_taken_once, 0);
    return text;
}

} // namespace

void mwin::OnImportIcal()
{
    std::string path;
    if (!fw::ask_file_name(hwnd_, true, path, &ics_files))
        return;
    SYSTEMTIME today;
    GetLocalTime(&today);
    ical::ImportResult result;
    const IcalRead read =
        import_ical_file(path.c_str(), papp->list.store, today.wDay, today.wMonth, today.wYear, result);
    trm_log("mwin::OnImportIcal () OK ...\n");
    if (read == IcalRead::unreadable) {
        fw::message_box(hwnd_, ("The file " + path + " could not be read !\n").c_str(), MB_OK | MB_ICONSTOP);
        return;
    }
    if (read == IcalRead::not_calendar) {
        fw::message_box(hwnd_, (path + " is not an iCalendar file, nothing was imported !\n").c_str(),
                        MB_OK | MB_ICONSTOP);
        return;
    }
    if (fw::View* view = GetActiveView())
        SendMessageA(view->hwnd(), WM_COMMAND, ID_REFILL, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    fw::message_box(hwnd_, import_summary(result).c_str(), MB_OK | MB_ICONINFORMATION);
}

void mwin::OnExportIcal()
{
    std::string path;
    if (!fw::ask_file_name(hwnd_, false, path, &ics_files))
        return;
    path = with_ics_extension(path);
    ical::ExportResult result;
    const bool written = export_ical_file(path.c_str(), papp->list.store, result);
    trm_log("mwin::OnExportIcal () OK ...\n");
    if (!written) {
        fw::message_box(hwnd_, ("The Dates could not be written to " + path + " !\n").c_str(), MB_OK | MB_ICONSTOP);
        return;
    }
    fw::message_box(hwnd_, count_text("%d Dates exported, %d skipped", result.exported, result.skipped).c_str(),
                    MB_OK | MB_ICONINFORMATION);
}
