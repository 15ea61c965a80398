#include "corekit80/porttypes/TCValidateActualPortType.h"

namespace {

// Both string classes replace over their whole content, so zero bytes pass unharmed.
template <class Text> void Quote(Text& text)
{
    text.Replace("\\", "\\\\");
    text.Replace(" ", "\\ ");
}

template <class Text> void UnQuote(Text& text)
{
    text.Replace("\\ ", " ");
    text.Replace("\\\\", "\\");
}

}  // namespace

void TCValidationQuote(TCString& text) { Quote(text); }
void TCValidationQuote(CString& text) { Quote(text); }
void TCValidationUnQuote(TCString& text) { UnQuote(text); }
void TCValidationUnQuote(CString& text) { UnQuote(text); }
