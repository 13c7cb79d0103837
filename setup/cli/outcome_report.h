#pragma once

class Dialogs;
class Outcome;

// vfdctl's presenter: what is still to be told of an outcome goes out as the console's
// "Title: text" line (and its detail) on stderr; the result is the exit status.
int reportOutcome(Dialogs& console, const Outcome& outcome);
