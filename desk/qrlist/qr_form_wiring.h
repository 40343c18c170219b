// Connects the settings form's QR buttons and its statistics password field to
// the actions of this folder. The program entry calls it once after making the
// form; tests call it with a recording browser.
#pragma once

class BrowserOpener;
class TForm1;

// `browser` must live as long as the form.
void connectQrActions(TForm1& form, BrowserOpener& browser);
