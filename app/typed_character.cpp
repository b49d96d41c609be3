#include "app/typed_character.h"

uint32_t FilterTypedCharacter(uint32_t character) {
    if (character == 3 || character == 8 || character == 22 || character == '-' ||
        character == 'x') {
        return character;
    }
    if ((character >= '0' && character <= '9') || (character >= 'A' && character <= 'F')) {
        return character;
    }
    if (character == 'X') {
        return 'x';
    }
    if (character >= 'a' && character <= 'f') {
        return character - 32;
    }
    return 0;
}
