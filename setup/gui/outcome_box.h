#pragma once

class Dialogs;
class Outcome;

// The window's presenter: the box that tells the person how an operation ended, when one is still to
// be shown (the boxes the protocol waits for have been shown at their point).
void showOutcome(Dialogs& dialogs, const Outcome& outcome);
