#include "article/typing_group.h"

KeyKind ClassifyKey(unsigned vk)
{
    switch (vk) {
    case 0x21: case 0x22: case 0x23: case 0x24:  // VK_PRIOR, VK_NEXT, VK_END, VK_HOME
    case 0x25: case 0x26: case 0x27: case 0x28:  // the arrows
        return KeyKind::kNavigation;
    case 0x10: case 0x11: case 0x12:  // VK_SHIFT, VK_CONTROL, VK_MENU
    case 0x13: case 0x14: case 0x1B:  // VK_PAUSE, VK_CAPITAL, VK_ESCAPE
    case 0x2D:                        // VK_INSERT
    case 0x5B: case 0x5C: case 0x5D:  // VK_LWIN, VK_RWIN, VK_APPS
    case 0x90: case 0x91:             // VK_NUMLOCK, VK_SCROLL
        return KeyKind::kNoText;
    case 0x08:
        return KeyKind::kBackspace;
    case 0x0D:
        return KeyKind::kEnter;
    case 0x2E: case 0x0C:  // VK_DELETE, VK_CLEAR
        return KeyKind::kDelete;
    default:
        if (vk >= 0x70 && vk <= 0x87) return KeyKind::kNoText;  // VK_F1 .. VK_F24
        return KeyKind::kOther;
    }
}

TypingStep StepForKey(TypingGroup group, KeyKind kind)
{
    TypingStep step;
    step.group = group;
    switch (kind) {
    case KeyKind::kNavigation:
        step.group = TypingGroup::kNone;
        step.clearTypingFlags = true;
        break;
    case KeyKind::kNoText:
        step.clearKeystroke = true;
        break;
    case KeyKind::kBackspace:
    case KeyKind::kEnter:
        if (group == TypingGroup::kNone) {
            step.group = TypingGroup::kDeletion;
            step.snapshot = true;
        }
        break;
    case KeyKind::kDelete:
        step.group = TypingGroup::kNone;
        step.snapshot = true;
        break;
    case KeyKind::kOther:
        break;
    }
    return step;
}

TypingStep StepForCharacter(TypingGroup group)
{
    TypingStep step;
    step.group = TypingGroup::kCharacters;
    step.snapshot = group == TypingGroup::kNone;
    return step;
}
