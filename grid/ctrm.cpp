#include "grid/ctrm.h"
#include "fw/log.h"
#include "core/date_calc.h"

CTrm::CTrm() : day_names(day_labels), month_names(month_labels)
{
    get_time();
    shown_month = today_month;
    shown_year = today_year;
    trm_log("CTrm::CTrm () OK ...\n");
}

void CTrm::get_time()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    today_day = now.wDay;
    today_month = now.wMonth;
    today_year = now.wYear;
    cur_hour = now.wHour;
    cur_min = now.wMinute;
}

int CTrm::first_day(int month) const
{
    return weekday_column(1, month, shown_year);
}

int CTrm::month_days(int month, int year) const
{
    return ::month_days(month, year);
}

const char* CTrm::day_name(int day, int month, int year) const
{
    return day_label(day, month, year);
}
