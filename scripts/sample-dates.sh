#!/usr/bin/env bash
# Writes a date file of sample dates around today to standard output, from the template
# docs/sample.dat (or the file given): each day there is an offset from today or a day of the
# next month, "now" in the time column the start of the current hour. Lines end in CR LF, as
# Termaris writes them. TRM_SAMPLE_NOW ("YYYY-MM-DD HH:MM") stands in for the clock.
# Usage: scripts/sample-dates.sh [TEMPLATE] > trm.dat
set -eu
template=${1:-$(dirname "$0")/../docs/sample.dat}
now=${TRM_SAMPLE_NOW:-$(date '+%Y-%m-%d %H:%M')}
today=${now% *}
hour=${now#* }
hour=${hour%%:*}
# Termaris' weekday labels, Monday first (date +%u counts Monday as 1).
labels=(Mon Thu Wen Thr Fri Sat Sun)
first_of_next_month=$(date -d "${today%-*}-01 +1 month" +%Y-%m-%d)

day_of() {
  case "$1" in
    next:*) date -d "$first_of_next_month +$((${1#next:} - 1)) days" +%Y-%m-%d ;;
    *) date -d "$today $1 days" +%Y-%m-%d ;;
  esac
}

while IFS= read -r line; do
  case "$line" in '' | '#'*) continue ;; esac
  # A unit separator for the tab: IFS would take a run of tabs as one, losing empty fields.
  IFS=$'\x1f' read -r day time text status <<<"${line//$'\t'/$'\x1f'}"
  d=$(day_of "$day")
  [ "$time" = now ] && time="$hour:00"
  printf '%s\t%s\t%s\t%s\t%s\r\n' "$(date -d "$d" +%Y.%m.%d)" "${labels[$(($(date -d "$d" +%u) - 1))]}" \
    "$time" "$text" "$status"
done <"$template"
