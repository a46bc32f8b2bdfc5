#include "addin/word_listener.h"

namespace plovera {

void WordListener::listen_to(host::Application* word) {
  hook_.reset();  // unhook from the previous application first
  if (word) hook_ = word->advise(*this);
}

}  // namespace plovera
