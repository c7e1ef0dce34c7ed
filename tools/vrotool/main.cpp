// vrotool: the command-line companion of VroView.
#include "model/Auxilary.h"
#include "model/ErrorReport.h"
#include "model/ParameterTable.h"
#include "tools/vrotool/Arguments.h"
#include "tools/vrotool/Commands.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

struct Command {
    const char* name;
    int (*run)(Arguments&);
    const char* summary;
    const char* usage;
};

const Command Commands[] = {
    {"generate", GenerateCommand, "write a generated recording in the 1.x export layout",
     "vrotool generate -o FILE.bin [options]\n"
     "  --phase N         phase configuration 0, 1, 3 or 4 (default 3, 3-phase wye)\n"
     "  --ct N            current clamp 0-2 (default 0)\n"
     "  --rate N          rate code, the sample period: 0 1 s, 1 5 s, 2 15 s, 3 30 s,\n"
     "                    4 60 s (default), 5 300 s, 6 900 s, 7 1800 s\n"
     "  --interval N      interval code, the period of the interval parameters: 0 none,\n"
     "                    1 15 min (default), 2 30 min; 3 and 4 as the instrument may\n"
     "                    send them, without a period\n"
     "  --mode N          0 normal, 1 loop\n"
     "  --end T           end of the recording, YYYY-MM-DDTHH:MM:SS (default 2026-11-30T17:45:00)\n"
     "  --entries LIST    catalogue indices, comma-separated (default: all the phase can record)\n"
     "  --blocks N        repeat the entries to make N parameter blocks (1-127)\n"
     "  --points N        points per Historic parameter (default 1440)\n"
     "  --event-points N  N points per event-type parameter, scattered over the recording,\n"
     "                    instead of the instrument's shape: one value per Event and\n"
     "                    Cumulative parameter (the extreme or the total), one per interval\n"
     "                    for the interval types\n"
     "  --seed N          seed of the values (default 1)\n"
     "  --maximal         127 blocks of 50000 points, Historic and event blocks alternating\n"
     "                    (events scattered)\n"
     "  --historic-only   with --maximal: Historic blocks only\n"},
    {"info", InfoCommand, "print a recording or a database file",
     "vrotool info FILE [--json] [--values]\n"
     "  FILE       a database file (*.vro) or a recording byte stream (1.x export file, *.bin)\n"
     "  --json     machine-readable output\n"
     "  --values   every value with its time (with --json: every value, and every time stamp\n"
     "             of event-type parameters)\n"},
#ifdef VRO_SERIAL
    {"simulate", SimulateCommand, "be a Vireo instrument on a pseudo-terminal",
     "vrotool simulate [--recording FILE.bin | generator options] [--baud B] [--link PATH]\n"
     "                 [--no-pacing] [faults]\n"
     "  Prints the terminal's path (e.g. /dev/pts/3) and serves downloads until Ctrl-C.\n"
     "  --recording FILE  serve this recording byte stream (1.x export file)\n"
     "  --phase N, --blocks N, --points N, --event-points N, --seed N\n"
     "                    generate the recording instead, as vrotool generate does\n"
     "  --baud B          answer only when the host's line runs at B baud\n"
     "  --link PATH       make PATH a link to the terminal (removed at the end)\n"
     "  --no-pacing       send as fast as the terminal takes it, not at baud / 10 bytes a second\n"
     "  faults:\n"
     "  --ignore-test             never answer a port test\n"
     "  --unanswered-probes N     leave N probes unanswered before each answer\n"
     "  --ignore-start            never answer the download start\n"
     "  --corrupt-block N         send block N (from 1) with a wrong checksum, once\n"
     "  --truncate-block N        send only part of block N, once\n"
     "  --zero-checksum-block N   send block N with checksum 0 the first time\n"
     "  --zero-checksum-on-retry N  send checksum 0 whenever block N is sent again\n"
     "  --silent-after N          answer nothing after N accepted blocks\n"
     "  --hang-up-after N         hang up the line after N accepted blocks\n"
     "  --junk-after-blocks       follow every block with two stray bytes\n"},
    {"download", DownloadCommand, "download the recording from a Vireo instrument",
     "vrotool download (--device PATH | --port N) [--baud B] [--scan] -o OUT\n"
     "                 [--user-id S] [--location S] [--comments S] [--abort-pause MS]\n"
     "  --device PATH  the instrument's serial device, e.g. /dev/ttyUSB0 (stands for COM1,\n"
     "                 or for --port's number)\n"
     "  --port N       COM1 to COM4, mapped to devices as VroView maps them (default 1)\n"
     "  --baud B       9600, 19200 or 38400 (default 9600)\n"
     "  --scan         when nothing answers there, search COM1 to COM4 at every rate\n"
     "  -o OUT.bin     the recording byte stream in whole 128-byte blocks as sent, or\n"
     "  -o OUT.vro     a database file of the recording, with --user-id, --location and\n"
     "                 --comments as its recording information\n"
     "  --abort-pause MS  the wait after a cancelled or failed transfer, for the\n"
     "                 instrument to give up its side (default 5000; vrotool simulate needs\n"
     "                 none)\n"
     "  Ctrl-C cancels (exit 130); a failed transfer exits with 1.\n"},
#endif
    {"import", ImportCommand, "make a database file from a 1.x export file",
     "vrotool import FILE.bin [-o OUT.vro] [--user-id S] [--location S] [--comments S] [--backup]\n"
     "  -o, --output OUT  where to save (default: FILE without .bin, with .vro)\n"
     "  --user-id S       who made the recording\n"
     "  --location S      where it was made\n"
     "  --comments S      anything else worth knowing\n"
     "  --backup          keep a file already there as OUT.backup\n"},
    {"edit", EditCommand, "change a database file's recording information",
     "vrotool edit FILE.vro [--user-id S] [--location S] [--comments S] [--backup]\n"
     "  --user-id S       who made the recording\n"
     "  --location S      where it was made\n"
     "  --comments S      anything else worth knowing\n"
     "  --backup          keep the former file as FILE.vro.backup\n"},
    {"join", JoinCommand, "join recordings of one site into one database file",
     "vrotool join A B ... -o OUT.vro [--overlap refuse|earlier|later]\n"
     "  A B ...           database files (*.vro) or recording byte streams (*.bin) of one site,\n"
     "                    recorded with the same settings and parameters, in any order\n"
     "  -o, --output OUT  the joined database; written only when the join is complete\n"
     "  --overlap MODE    where a recording starts before the one before it ends: refuse\n"
     "                    (default, exit 1), earlier (the earlier one's samples stay) or\n"
     "                    later (the later one's samples replace them)\n"
     "  The recordings are taken by start time; the gaps between them hold samples without\n"
     "  a value (NaN) on the first one's time base, and a start moved onto it by more than a\n"
     "  tenth of a period is reported. A refusal names the files and exits with 1.\n"
     "  Every recording's notes are kept, and a recorder note marks where each starts.\n"},
    {"notes", NotesCommand, "list, add or delete the notes on a database file's time axis",
     "vrotool notes FILE [--json]\n"
     "vrotool notes FILE.vro --add TIME [--to TIME] --kind KIND --text TEXT [--author S]\n"
     "              [--backup]\n"
     "vrotool notes FILE.vro --delete N [--backup]\n"
     "  FILE          a database file (*.vro), or a recording byte stream (*.bin), which has\n"
     "                none\n"
     "  --json        the notes machine-readable: start, end, kind, text, author\n"
     "  --add TIME    a note at TIME, \"YYYY-MM-DD hh:mm:ss\" in the recording's own clock\n"
     "  --to TIME     a note on the range from the --add time to this one, both included\n"
     "  --kind KIND   remark: shown only; exclude: the range's samples are left out of the\n"
     "                figures of survey, compare and stats, as if not measured; change: a\n"
     "                split between before and after (compare --split-at-note); recorder:\n"
     "                something done to the recorder, shown like a remark\n"
     "  --text TEXT   what happened, up to 500 characters\n"
     "  --author S    who wrote it (default: the recording's user id)\n"
     "  --delete N    delete the N-th note of the listing, from 1\n"
     "  --backup      keep the former file as FILE.vro.backup\n"
     "  The listing is a header row and a row per note by start time, TAB-separated:\n"
     "  number, start, end (empty for a point), kind, text and author. A database file with\n"
     "  notes is written in version 0.03 of the format, which earlier versions of VroView\n"
     "  open without the notes; a file without notes stays in version 0.02.\n"},
    {"stats", StatsCommand, "print the statistics of a recording's parameters or a table's sources",
     "vrotool stats FILE [--index N | --caption TEXT] [--chart] [--from TIME --to TIME]\n"
     "              [--json | --csv] [--locale NAME] [-o OUT]\n"
     "  FILE             a database file (*.vro) or a recording byte stream (*.bin)\n"
     "  --index N        the sources of the N-th table of the file, from 1, over its range\n"
     "  --caption TEXT   the sources of the table of this caption\n"
     "  --chart          with --index or --caption: of a chart instead of a table\n"
     "  --from TIME      only the points from TIME on, \"YYYY-MM-DD hh:mm:ss\" in the\n"
     "                   recording's own clock\n"
     "  --to TIME        only the points up to TIME, included\n"
     "  --json           machine-readable output; times as day counts and ISO texts\n"
     "  --csv            comma-separated values (RFC 4180) instead of TAB-separated\n"
     "  --locale NAME    number and date formats, e.g. de_DE (default: the user's)\n"
     "  -o, --output OUT write to OUT instead of standard output; nothing is left there\n"
     "                   when writing fails\n"
     "  Without a table or chart: every parameter over the whole recording. The text is\n"
     "  what the Statistics window copies: a header row and a row per source. The points in\n"
     "  the ranges of exclude notes count as invalid (JSON: notes, and each row's\n"
     "  excluded_samples).\n"},
    {"survey", SurveyCommand,
     "print the load study, energy, voltage test, cost, power factor and unbalance of a recording",
     "vrotool survey FILE... [--block-minutes B] [--rating-amps A] [--nominal-volts V]\n"
     "               [--threshold-kw KW] [--tariff T.json | --energy-rate R\n"
     "               --demand-rate R --fixed-monthly R] [--target-pf T] [--bank-step KVAR]\n"
     "               [--bank-price P] [--battery [battery options]]\n"
     "               [--new-load LOAD]... [--charging-window HH:MM-HH:MM]\n"
     "               [--smallest-amps A] [--night-need-kwh E]\n"
     "               [--json | --csv] [--locale NAME] [-o OUT]\n"
     "  FILE                 a database file (*.vro) or a recording byte stream (*.bin)\n"
     "  --block-minutes B    the demand interval: 5, 10, 15 (default), 30 or 60 minutes\n"
     "  --rating-amps A      the service rating in amperes, for the headroom\n"
     "  --nominal-volts V    the nominal voltage (default: guessed from the median)\n"
     "  --threshold-kw KW    the hours and energy above this demand in kW (kVA with a\n"
     "                       tariff of kVA demand), and peak shaving; not below the base\n"
     "                       load (--threshold-watts W, the same in W, is still taken)\n"
     "  --tariff T.json      the tariff: a rate in the layout of the US utility rate\n"
     "                       database (an example: /usr/share/vroview/tariff-example.json)\n"
     "  --energy-rate R      or a simple tariff: R per kWh, --demand-rate R per kW of the\n"
     "                       month's highest block, --fixed-monthly R a month\n"
     "  --target-pf T        the power factor to correct to, 0.80 to 1.00 (default 0.95)\n"
     "  --bank-step KVAR     the capacitor bank's step in kvar (default 5)\n"
     "  --bank-price P       what a bank costs per kvar, in the tariff's currency: the\n"
     "                       payback of its saving on the tariff\n"
     "  --battery            the battery that would hold the load to each of a list of caps:\n"
     "                       its kW and kWh, the demand after shaving, the saving on the\n"
     "                       tariff's demand charges, its price and payback; any of the\n"
     "                       options below asks for it too\n"
     "  --battery-efficiency E\n"
     "                       the round-trip efficiency, above 0 up to 1 (default 0.90)\n"
     "  --battery-charge-limit KW\n"
     "                       the largest charging power (default: the battery's power)\n"
     "  --battery-charge-hours H-H[,H-H...]\n"
     "                       the hours charging is allowed, e.g. 22-6 (default: any hour)\n"
     "  --battery-kwh-price R, --battery-kw-price R\n"
     "                       the battery's price per kWh and per kW, for the payback\n"
     "  --battery-caps KW[,KW...]\n"
     "                       the caps (default: 20 from the highest block's demand down to\n"
     "                       the average demand, and the threshold)\n"
     "  --new-load LOAD      a load to add, for the capacity study of one FILE; repeat it:\n"
     "                       NAME,AMPS,CONNECTION[,continuous|noncontinuous][,managed],\n"
     "                       CONNECTION one of L1, L2, L1+L2, A, B, C, A+B+C, e.g.\n"
     "                       \"EV charger,48,L1+L2,continuous,managed\" (without either,\n"
     "                       chargers, heat pumps and water heaters are continuous)\n"
     "  --charging-window HH:MM-HH:MM\n"
     "                       when managed loads may run (default 22:00-06:00)\n"
     "  --smallest-amps A    the least current a managed load takes (default 6)\n"
     "  --night-need-kwh E   the energy a managed load needs a night: the nights short\n"
     "                       of it are counted\n"
     "  --json               everything the survey finds, machine-readable\n"
     "  --locale NAME        number and date formats of the text, e.g. de_DE (default: the\n"
     "                       user's)\n"
     "  --csv                a row per file: file, location, from, to, days, energy_wh,\n"
     "                       peak_w, peak_time, base_w, load_factor, design_w, headroom_a,\n"
     "                       voltage_pass, unbalance_pass, average_pf, bank_var,\n"
     "                       typical_month_cost, error; with --battery (one FILE) a row per\n"
     "                       cap instead\n"
     "  -o, --output OUT     write to OUT instead of standard output; nothing is left\n"
     "                       there when writing fails\n"
     "  The text is the Survey window's Summary page: the summary, then Cost (with each\n"
     "  month's charges), Power factor, Unbalance, then with --battery the battery study\n"
     "  and its table, with new loads the capacity study (the highest 15-minute block\n"
     "  current of each phase over 30 days × 1.25, plus the loads, against the rating),\n"
     "  and the recording's notes. The samples in the ranges of exclude notes are left out\n"
     "  as if not measured (JSON: notes, excluded_samples). Several files need --csv, or\n"
     "  --json for an object of those columns per file and line; they are surveyed in\n"
     "  parallel, and a file that cannot be read gets a row with its error (exit 1 after\n"
     "  the others).\n"},
    {"compare", CompareCommand,
     "compare two recordings, or two ranges of one, before and after a change",
     "vrotool compare BEFORE AFTER [--before-range FROM..TO] [--after-range FROM..TO]\n"
     "                [--block-minutes B] [--tariff T.json | --energy-rate R\n"
     "                --demand-rate R --fixed-monthly R] [--json] [--locale NAME] [-o OUT]\n"
     "vrotool compare FILE --before-range FROM..TO --after-range FROM..TO [options]\n"
     "vrotool compare FILE --split-at-note N [options]\n"
     "  BEFORE, AFTER        database files (*.vro) or recording byte streams (*.bin)\n"
     "  FILE                 one recording with a range before and a range after\n"
     "  --before-range FROM..TO, --after-range FROM..TO\n"
     "                       only the samples from FROM to TO, both included, as\n"
     "                       YYYY-MM-DDThh:mm:ss of the recording's own clock (default: the\n"
     "                       whole recording)\n"
     "  --split-at-note N    before: from the first sample to the N-th note of FILE (from\n"
     "                       1, as vrotool notes lists them; a change note); after: from\n"
     "                       the note's end to the last sample\n"
     "  --block-minutes B    the demand interval of both: 5, 10, 15 (default), 30 or 60\n"
     "  --tariff T.json, --energy-rate R, --demand-rate R, --fixed-monthly R\n"
     "                       the tariff both are priced by, as vrotool survey takes it: the\n"
     "                       cost per full day, the typical month and the yearly cost saving\n"
     "  --json               the sides' figures, their change and the saving, machine-readable\n"
     "                       (base units: W, WH; null where a figure does not apply)\n"
     "  --locale NAME        number and date formats of the text, e.g. de_DE (default: the\n"
     "                       user's)\n"
     "  -o, --output OUT     write to OUT instead of standard output; nothing is left\n"
     "                       there when writing fails\n"
     "  The text is the Compare window's Summary page: the figures before and after with\n"
     "  their change, the saving per full weekday, weekend day and year with its 95 %\n"
     "  interval, and the verdict, then each side's notes. Days with gaps are left out, and\n"
     "  so are the ranges of exclude notes; weather and production are not normalised. A\n"
     "  range outside its recording, a side without power or a range without a full day\n"
     "  exits with 1 and the reason.\n"},
#ifdef VRO_TABLES
    {"table", TableCommand, "write a table of a database file as text",
     "vrotool table FILE.vro (--index N | --caption TEXT) [--first A --last B] [--csv]\n"
     "              [--locale NAME] [-o OUT]\n"
     "  --index N        the N-th table of the file, from 1\n"
     "  --caption TEXT   the table of this caption (the first, if several have it)\n"
     "  --first A        the first data row, from 0 (default 0)\n"
     "  --last B         the last data row, included (default the table's last)\n"
     "  --csv            comma-separated values (RFC 4180) instead of TAB-separated\n"
     "  --locale NAME    number and date formats, e.g. de_DE (default: the user's)\n"
     "  -o, --output OUT write to OUT instead of standard output; nothing is left there\n"
     "                   when writing fails\n"
     "  The text is the header row and the data rows, as the table window copies them.\n"},
    {"print", PrintCommand, "print the recording information, a table or a chart into a PDF file",
     "vrotool print FILE.vro (--info | --table N | --chart N) -o OUT.pdf [--first A --last B]\n"
     "              [--no-title] [--no-page-number] [--no-location] [--no-user-id]\n"
     "              [--page A4|Letter] [--landscape]\n"
     "  --info            the recording information page\n"
     "  --table N         the N-th table of the file, from 1, in column strips and row pages\n"
     "  --chart N         the N-th chart of the file, from 1, on one page\n"
     "  --first A         the first data row, from 0 (default 0)\n"
     "  --last B          the last data row, included (default the table's last)\n"
     "  --no-title, --no-page-number, --no-location, --no-user-id\n"
     "                    leave that element out of the pages' header and footer\n"
     "  --page SIZE       A4 (default) or Letter, with 10 mm margins\n"
     "  --landscape       the page turned on its side\n"
     "  -o, --output OUT  the PDF file; nothing is left there when printing fails\n"
     "  The pages are those VroView prints; no display is needed.\n"},
    {"export", ExportCommand, "write a database file as an Excel workbook",
     "vrotool export FILE -o BOOK.xlsx [--block-minutes B] [--rating-amps A]\n"
     "               [--nominal-volts V] [--threshold-kw KW] [--tariff T.json |\n"
     "               --energy-rate R --demand-rate R --fixed-monthly R] [--target-pf T]\n"
     "               [--bank-step KVAR] [--bank-price P] [--battery [battery options]]\n"
     "  FILE              a database file (*.vro) or a recording byte stream (*.bin)\n"
     "  -o, --output BOOK the workbook; nothing is left there when writing fails\n"
     "  --block-minutes B, --rating-amps A, --nominal-volts V, --threshold-kw KW,\n"
     "  --tariff T.json, --energy-rate R, --demand-rate R, --fixed-monthly R,\n"
     "  --target-pf T, --bank-step KVAR, --bank-price P\n"
     "                    the survey's settings, as vrotool survey takes them\n"
     "  --battery and the --battery-... options\n"
     "                    the battery study's inputs, as vrotool survey takes them\n"
     "  Sheets: Recording (the recording information), one per table in its layout,\n"
     "  Statistics (every parameter), Survey (load study, totals, energy per day, cost,\n"
     "  power factor, unbalance), Battery (with --battery), and per chart a sheet of its data and "
     "a sheet of its\n"
     "  line chart. Date-times are date cells, values numbers.\n"},
#endif
#ifdef VRO_CHARTS
    {"chart", ChartCommand, "draw a chart of a database file as SVG, PNG or PDF",
     "vrotool chart FILE.vro (--index N | --caption TEXT) -o OUT.(svg|png|pdf) [--size WxH]\n"
     "  --index N         the N-th chart of the file, from 1\n"
     "  --caption TEXT    the chart of this caption (the first, if several have it)\n"
     "  -o, --output OUT  the picture: OUT.svg (vectors), OUT.png or OUT.pdf (vectors, one\n"
     "                    page the picture's size)\n"
     "  --size WxH        the picture's size in pixels of 1/96 inch (default 1200x800)\n"
     "  The chart is drawn as its window draws it, over its whole time range; no display\n"
     "  is needed. A chart of Cumulative parameters cannot be drawn (exit 1).\n"},
    {"report", ReportCommand, "print the survey or compare report of recordings into a PDF file",
     "vrotool report FILE -o OUT.pdf [--block-minutes B] [--rating-amps A]\n"
     "               [--nominal-volts V] [--threshold-kw KW] [--tariff T.json |\n"
     "               --energy-rate R --demand-rate R --fixed-monthly R] [--target-pf T]\n"
     "               [--bank-step KVAR] [--bank-price P] [--battery [battery options]]\n"
     "               [--new-load LOAD]... [--charging-window W] [--smallest-amps A]\n"
     "               [--night-need-kwh E] [--title TEXT] [--engineer TEXT] [--company TEXT]\n"
     "               [--remarks FILE] [--page A4|Letter] [--with-items | --capacity-sheet]\n"
     "               [--locale NAME]\n"
     "  FILE                 a database file (*.vro) or a recording byte stream (*.bin)\n"
     "  --block-minutes B    the demand interval: 5, 10, 15 (default), 30 or 60 minutes\n"
     "  --rating-amps A      the service rating in amperes, for the headroom\n"
     "  --nominal-volts V    the nominal voltage (default: guessed from the median)\n"
     "  --threshold-kw KW    the hours and energy above this demand in kW (kVA with a\n"
     "                       tariff of kVA demand), and peak shaving; not below the base\n"
     "                       load (--threshold-watts W, the same in W, is still taken)\n"
     "  --tariff T.json      the tariff: a rate in the layout of the US utility rate\n"
     "                       database (an example: /usr/share/vroview/tariff-example.json)\n"
     "  --energy-rate R      or a simple tariff: R per kWh, --demand-rate R per kW of the\n"
     "                       month's highest block, --fixed-monthly R a month\n"
     "  --target-pf T        the power factor to correct to, 0.80 to 1.00 (default 0.95)\n"
     "  --bank-step KVAR     the capacitor bank's step in kvar (default 5)\n"
     "  --bank-price P       what a bank costs per kvar: the payback of its saving\n"
     "  --battery, --battery-efficiency E, --battery-charge-limit KW,\n"
     "  --battery-charge-hours H-H, --battery-kwh-price R, --battery-kw-price R,\n"
     "  --battery-caps KW[,KW...]\n"
     "                       the battery study's inputs, as vrotool survey takes them\n"
     "  --new-load LOAD, --charging-window W, --smallest-amps A, --night-need-kwh E\n"
     "                       the loads to add, as vrotool survey takes them: their finding\n"
     "                       and a capacity section follow\n"
     "  --capacity-sheet     only the one-page capacity sheet of the new loads (the site,\n"
     "                       period, peak blocks, loads, calculation, verdict, engineer)\n"
     "  --title TEXT         the title on the first page and in the header (default\n"
     "                       \"Survey report\")\n"
     "  --engineer TEXT      the engineer's name on the first page and as the PDF's\n"
     "                       author (default author: the recording's user id)\n"
     "  --company TEXT       the engineer's company on the first page\n"
     "  --remarks FILE       the engineer's remarks (UTF-8 text), printed as written\n"
     "  --page SIZE          A4 (default) or Letter, with 10 mm margins\n"
     "  --with-items         the database's own tables and charts after the survey\n"
     "  --locale NAME        number and date formats, e.g. de_DE (default: the user's)\n"
     "  -o, --output OUT     the PDF file; nothing is left there when printing fails\n"
     "  Sections: findings (the answers, with the remarks), contents, summary, energy\n"
     "  per day, a chart per unit of the Historic parameters, daily profile, load\n"
     "  duration, heat map, voltage block means, cost (with a tariff), power factor,\n"
     "  unbalance, capacity for the new loads, statistics. A section without data is\n"
     "  left out; the summary says why. A bad tariff or target power factor exits 2\n"
     "  with its message; a remarks file that cannot be read exits 1.\n"
     "vrotool report --compare BEFORE AFTER -o OUT.pdf [--before-range FROM..TO]\n"
     "               [--after-range FROM..TO] [--block-minutes B] [tariff options]\n"
     "               [--title TEXT] [--engineer TEXT] [--company TEXT] [--remarks FILE]\n"
     "               [--page A4|Letter] [--locale NAME]\n"
     "vrotool report --compare FILE --before-range FROM..TO --after-range FROM..TO ...\n"
     "vrotool report --compare FILE --split-at-note N ...\n"
     "  The compare report, as the Compare window prints it: the findings (the yearly\n"
     "  saving with its 95 % interval first), the Summary table, the saving and the\n"
     "  verdict, then the overlaid daily profiles, the energy per full day and the load\n"
     "  duration. The sides and options as vrotool compare takes them; --title defaults\n"
     "  to \"Before and after\".\n"},
#endif
};

void PrintOverview() {
    std::printf("usage: vrotool COMMAND [options]   (vrotool COMMAND --help for its options)\n"
                "       vrotool --version\n\n");
    for (const Command& c : Commands)
        std::printf("  %-10s %s\n", c.name, c.summary);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        PrintOverview();
        return argc < 2 ? 2 : 0;
    }
    if (!std::strcmp(argv[1], "--version") || !std::strcmp(argv[1], "-v")) {
        std::printf("vrotool " VRO_VERSION "\n");
        return 0;
    }
    const Command* command = nullptr;
    for (const Command& c : Commands)
        if (!std::strcmp(argv[1], c.name))
            command = &c;
    if (!command) {
        std::fprintf(stderr, "vrotool: unknown command '%s'\n\n", argv[1]);
        PrintOverview();
        return 2;
    }

    InitCatalogue();
    TuneAllocator();
    SetErrorReportHandler([](const std::string& context, const std::string& message) {
        std::fprintf(stderr, "Program error in %s: %s\n", context.c_str(), message.c_str());
    });
    try {
        Arguments args(argc, argv, 2);
        if (args.WantsHelp()) {
            std::printf("usage: %s", command->usage);
            return 0;
        }
        return command->run(args);
    } catch (const ValueError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 2;
    } catch (const UsageError& e) {
        std::fprintf(stderr, "vrotool %s: %s\nusage: %s", command->name, e.what(), command->usage);
        return 2;
    } catch (const VroError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "Out of memory\n");
        return 1;
    }
}
