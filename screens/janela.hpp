#pragma once
// The play screen: its frame, the status panel's labels, legend and command
// list, and the two status values that draw themselves.

namespace screens {

void janela();
void printnivel(int nivel);
void tiroespecials(int especial);

} // namespace screens
