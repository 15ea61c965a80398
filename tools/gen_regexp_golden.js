#!/usr/bin/env node
// Writes tests/data/regexp_golden.tsv: the matches that JavaScript's RegExp finds for
// ECMAScript patterns on short texts, for a differential test of TCRegExp.
//
// Every case collects all matches the way a global exec loop does: each attempt
// starts where the previous match ended, one character further after an empty match,
// and the last attempt starts at the end of the text. TCRegExp's stored results follow
// the same rule, so both sides must agree on every match, its prefix (from the
// attempt's start), suffix and capture groups (a group that took no part is empty).
// A case also records whether the pattern matches the whole text.
//
// Texts are ASCII (with the odd NUL byte), because RegExp counts UTF-16 units where the
// other side counts bytes. Patterns are kept to what both engines read alike; left out
// because they differ:
//   - lookbehind (?<=..) (?<!..), named groups, the u, s and y flags: not in the other
//     engine's grammar;
//   - captures inside a repeated group, e.g. ((a)|b)+ on "ab": RegExp resets the inner
//     group at each repetition (group 2 undefined), the other engine keeps "a";
//   - a starred group that can match empty, e.g. (a*)*b on "aab": RegExp refuses the
//     final empty iteration and keeps "aa" in group 1, the other engine ends on "";
//   - the m flag: '$' before "\r\n" and the set of line terminators differ.
//
// Run: node tools/gen_regexp_golden.js > tests/data/regexp_golden.tsv

'use strict';

// Fixed-seed generator (mulberry32), so the file only changes when this script does.
let seed = 0x5eed1234;
function random() {
  seed = (seed + 0x6d2b79f5) | 0;
  let t = seed;
  t = Math.imul(t ^ (t >>> 15), t | 1);
  t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
  return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
}

function randomText(alphabet, maxLength) {
  const n = Math.floor(random() * (maxLength + 1));
  let s = '';
  for (let i = 0; i < n; ++i) s += alphabet[Math.floor(random() * alphabet.length)];
  return s;
}

// [pattern, flags ('' or 'i'), alphabet of the random texts, fixed texts]
const cases = [
  ['[0-9]+', '', 'ab12 ', ['a1b22c', '122', '']],
  ['a+', '', 'ab', ['baaac']],
  ['a*', '', 'ab', ['baaac', '']],
  ['a*?b', '', 'abc', []],
  ['(a|ab)(c|bcd)(d*)', '', 'abcd', ['abcd']],
  ['(a+)(b+)?', '', 'abc', []],
  ['(\\d{2,3})-(\\d{2})', '', '0123-', ['12-34 567-89']],
  ['x{2}|y{1,}', '', 'xyz', []],
  ['\\bfoo\\b', '', 'fo ob', ['foo foofoo foo']],
  ['\\Bo', '', 'fo o', []],
  ['^ab', '', 'ab', ['abab']],
  ['ab$', '', 'ab', ['abab']],
  ['^$', '', 'a', ['']],
  ['\\w+', '', 'ab_1 -.', []],
  ['\\W', '', 'a -.', []],
  ['\\s+', '', 'a \t\n', []],
  ['\\S+', '', 'a \t', []],
  ['\\D+', '', 'a1 ', []],
  ['[^a-c]+', '', 'abcde', []],
  ['[a-c-]+', '', 'ab-de', []],
  ['[\\]\\\\]+', '', 'a]\\', []],
  ['.', '', 'a\n\r\0', []],
  ['.+', '', 'ab\n', []],
  ['[\\s\\S]{2}', '', 'ab\n', []],
  ['(a)\\1', '', 'ab', []],
  ['(\\w)(\\w)\\2\\1', '', 'abba', ['abba xyyx']],
  ['a(?=b)', '', 'ab', []],
  ['a(?!b)', '', 'ab', []],
  ['(?:ab)+', '', 'ab', []],
  ['(?:a|b)*c', '', 'abc', []],
  ['a|b|', '', 'abc', []],
  ['(?:a*)*b', '', 'ab', []],
  ['(a)|(b)', '', 'abc', []],
  ['(x)?y', '', 'xy', []],
  ['a{2,}?', '', 'a', []],
  ['a??b', '', 'ab', []],
  ['\\.\\*\\+\\?\\(\\)', '', '.*+?()', ['.*+?()']],
  ['\\x41\\u0042', '', 'ABC', []],
  ['\\t|\\n', '', 'a\t\n', []],
  ['[\\d.]+e[+-]?\\d+', '', '1.e+-5', []],
  ['abc', 'i', 'aAbBcC', ['ABC abc aBc']],
  ['[a-c]+', 'i', 'aBcD', []],
  ['(A)\\1', 'i', 'aA', []],
  ['\\0', '', 'a\0', []],
];

function escape(s) {
  let out = '';
  for (const c of s) {
    const code = c.charCodeAt(0);
    if (c === '\\') out += '\\\\';
    else if (c === '\t') out += '\\t';
    else if (c === '\n') out += '\\n';
    else if (c === '\r') out += '\\r';
    else if (code < 0x20 || code >= 0x7f) out += '\\x' + code.toString(16).padStart(2, '0');
    else out += c;
  }
  return out;
}

const lines = ['# kind\tfields (escaped: \\\\ \\t \\n \\r \\xHH); written by tools/gen_regexp_golden.js'];
for (const [pattern, flags, alphabet, fixed] of cases) {
  const texts = fixed.slice();
  for (let i = 0; i < 12; ++i) texts.push(randomText(alphabet, 10));
  for (const text of texts) {
    const re = new RegExp(pattern, 'g' + flags);
    const matches = [];
    let attemptStart = 0;
    let m;
    while ((m = re.exec(text)) !== null) {
      matches.push([text.slice(attemptStart, m.index), text.slice(m.index + m[0].length), m[0],
                    ...m.slice(1).map(g => g === undefined ? '' : g)]);
      if (m[0].length === 0) re.lastIndex++;
      attemptStart = re.lastIndex;
    }
    const whole = new RegExp('^(?:' + pattern + ')$', flags).test(text) ? 1 : 0;
    // C: case (pattern, flags, text, whole-text match, number of matches); M: one match
    // (prefix, suffix, match, groups...).
    lines.push(['C', escape(pattern), flags, escape(text), whole, matches.length].join('\t'));
    for (const match of matches) lines.push(['M', ...match.map(escape)].join('\t'));
  }
}
process.stdout.write(lines.join('\n') + '\n');
