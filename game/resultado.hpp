#pragma once
// How each game of a session went, told to whoever keeps a record of the
// session (a table of scores, a recording). The game itself never looks at
// what is done with it.

#include <string>

namespace game {

enum class Desfecho {
    perdeu, // the last life was lost
    venceu, // the score reached 30000
    saiu,   // Esc, or the session was cut short (a signal, the terminal gone)
};

struct Resultado {
    std::string nome;
    int nivel_inicial = 0; // the level key the game started with
    int nivel = 0;         // the level held when it ended, as a key code
    int pontos = 0;
    int vidas = 0;
    Desfecho desfecho = Desfecho::saiu;
};

// Every call does nothing unless overridden.
class Observador {
  public:
    virtual ~Observador() = default;
    // A game begins, before its title sequence.
    virtual void partida_comeca() {}
    // The name is typed and the level key read; the game sets up its play
    // next, seeded from the clock's next answer.
    virtual void nivel_escolhido(const std::string& /*nome*/, int /*nivel*/) {}
    // Its play begins, with the name typed and the level key chosen.
    virtual void jogo_comeca(const std::string& /*nome*/, int /*nivel*/) {}
    // A frame raised the level (a key code, as the game holds it).
    virtual void nivel_sobe(int /*nivel*/) {}
    // A game that reached play has ended, once, whatever ended it; before
    // its end screen, so a session cut short there has told it already.
    virtual void partida_termina(const Resultado& /*resultado*/) {}
};

} // namespace game
