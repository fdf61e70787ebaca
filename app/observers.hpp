#pragma once
// One session, several records of it: each observer is told of every game,
// in the order given.

#include "game/resultado.hpp"

#include <string>
#include <vector>

namespace app {

class Observers : public game::Observador {
  public:
    explicit Observers(std::vector<game::Observador*> each) : each_(std::move(each)) {}

    void partida_comeca() override {
        for (game::Observador* o : each_)
            o->partida_comeca();
    }
    void nivel_escolhido(const std::string& nome, int nivel) override {
        for (game::Observador* o : each_)
            o->nivel_escolhido(nome, nivel);
    }
    void jogo_comeca(const std::string& nome, int nivel) override {
        for (game::Observador* o : each_)
            o->jogo_comeca(nome, nivel);
    }
    void nivel_sobe(int nivel) override {
        for (game::Observador* o : each_)
            o->nivel_sobe(nivel);
    }
    void partida_termina(const game::Resultado& result) override {
        for (game::Observador* o : each_)
            o->partida_termina(result);
    }

  private:
    std::vector<game::Observador*> each_;
};

} // namespace app
