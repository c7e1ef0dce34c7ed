#pragma once

class Arguments;

// Each subcommand returns the process exit status; errors are raised (VroError: 1,
// UsageError: 2) and reported by main.
int GenerateCommand(Arguments& args);
int InfoCommand(Arguments& args);
int SimulateCommand(Arguments& args); // these two with the serial layer (Qt Core) only
int DownloadCommand(Arguments& args);
int ImportCommand(Arguments& args);
int EditCommand(Arguments& args);
int JoinCommand(Arguments& args);
int NotesCommand(Arguments& args);
int StatsCommand(Arguments& args);
int SurveyCommand(Arguments& args);
int CompareCommand(Arguments& args);
int TableCommand(Arguments& args);  // with the tables' texts (Qt Core) only
int PrintCommand(Arguments& args);  // with the printer (Qt Gui, offscreen) only
int ExportCommand(Arguments& args); // with the workbook writer (Qt Core) only
int ChartCommand(Arguments& args);  // with the chart window (Qt Widgets), offscreen
int ReportCommand(Arguments& args); // with the chart window (Qt Widgets), offscreen
