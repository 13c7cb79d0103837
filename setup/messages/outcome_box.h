#pragma once

class Dialogs;
class Outcome;
struct Refusal;

// The window's presenter: the boxes, in the message catalogue's words, that tell the person how an
// operation ended (when one is still to be shown: the boxes the protocol waits for have been shown at
// their point) and why a file or an input was refused.
void showOutcome(Dialogs& dialogs, const Outcome& outcome);
void showRefusal(Dialogs& dialogs, const Refusal& refusal);
