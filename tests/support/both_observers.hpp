#pragma once
// Two observers of one session, each told of every call: the recorder
// writes each game's result while the scripted player answers its screens.

#include "game/resultado.hpp"

#include <string>

namespace teste {

struct BothObservers : game::Observador {
    game::Observador& a;
    game::Observador& b;
    BothObservers(game::Observador& x, game::Observador& y) : a(x), b(y) {}
    void partida_comeca() override {
        a.partida_comeca();
        b.partida_comeca();
    }
    void nivel_escolhido(const std::string& nome, int nivel) override {
        a.nivel_escolhido(nome, nivel);
        b.nivel_escolhido(nome, nivel);
    }
    void jogo_comeca(const std::string& nome, int nivel) override {
        a.jogo_comeca(nome, nivel);
        b.jogo_comeca(nome, nivel);
    }
    void nivel_sobe(int nivel) override {
        a.nivel_sobe(nivel);
        b.nivel_sobe(nivel);
    }
    void partida_termina(const game::Resultado& r) override {
        a.partida_termina(r);
        b.partida_termina(r);
    }
};

} // namespace teste
