#pragma once

// The state of one translated value (text or font): the source, its translation, whether
// that translation is valid, and the source as last seen for hidden-change checking.
// The owning object guards it with its lock.
template <class T> class TCTranslatedValue {
public:
    explicit TCTranslatedValue(const T& source = T()) : m_source(source), m_seenSource(source) {}

    // A new source drops the translation.
    void SetSource(const T& source)
    {
        m_source = source;
        m_seenSource = source;
        m_valid = false;
    }

    // The translation, computed by translate(source) when there is no valid one. With
    // checkHidden, a source changed behind our back (same(seen, source) false) counts as new.
    template <class Same, class Translate>
    const T& Get(bool checkHidden, Same same, Translate translate)
    {
        if (checkHidden && !same(m_seenSource, m_source)) {
            m_seenSource = m_source;
            m_valid = false;
        }
        if (!m_valid) {
            m_translated = translate(m_source);
            m_valid = true;
        }
        return m_translated;
    }

    void Invalidate() { m_valid = false; }
    bool IsValid() const { return m_valid; }
    const T& Source() const { return m_source; }
    T& Source() { return m_source; }

private:
    T m_source;
    T m_translated{};
    bool m_valid = false;
    T m_seenSource;
};
