// When a shell control (tree or list) refreshes after a change notice: a change the control made
// itself is ignored once; while refreshes are deferred (a drag, an open shell menu) a change only
// marks a refresh as wanted, which runs once when the deferral ends.
#pragma once

struct TShellRefreshGate {
  bool ignoreNext = false;  // the next notice comes from the control's own change
  bool deferred = false;    // refreshes wait for the end of a drag or menu
  bool wanted = false;      // a refresh is owed for when the wait ends

  // A change notice arrived: true when the control should start its refresh timer.
  bool ChangeArrived() {
    if (ignoreNext) {
      ignoreNext = false;
      return false;
    }
    if (deferred) {
      wanted = true;
      return false;
    }
    return true;
  }

  // Ends a deferral: true when a refresh became due meanwhile (and is now no longer owed).
  bool EndDeferral() {
    deferred = false;
    const bool due = wanted;
    wanted = false;
    return due;
  }
};
