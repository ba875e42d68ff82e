// Small text routines shared by every part of the program. Texts are CP932 byte strings and
// lengths count bytes.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sulkan {

// "True" or "False".
std::string BoolText(bool flag);

// Lower-cased extension of the file name (the part after the last "\" or "/"): from its last
// ".", at most four bytes including the "."; empty when the file name has no ".".
std::string FileExtension(std::string_view path);

// Splits at every "#": c hashes give c + 1 pieces (possibly empty); an empty line gives no
// pieces. Returns the number of "#".
int SplitAtHash(std::string_view line, std::vector<std::string>& pieces);

// Splits at every ";"; every piece except the last gets one blank appended. Returns the number
// of pieces.
int SplitAtSemicolon(std::string_view line, std::vector<std::string>& pieces);

// Removes leading and trailing blanks, control characters and full-width spaces, in any mix,
// until none is left at either end (so trimming the result again changes nothing).
std::string TrimWide(std::string_view text);

// When text is shorter than model: a blank, the text and twelve blanks, cut to model's length.
std::string PadLike(std::string_view text, std::string_view model);

// Swaps every position with a random one; random(n) returns a number in [0, n).
void ShuffleList(std::vector<std::string>& lines, const std::function<int(int)>& random);
void ShuffleList(std::vector<std::string>& lines);

// When text starts with an ASCII byte: only its ASCII digits, as full-width digits.
std::string FullWidthDigits(std::string_view text);

// The part after the last whole-character occurrence of c, or text itself.
std::string AfterLastChar(char c, std::string_view text);

// Value of the environment variable "temp" (empty when unset).
std::string TempFolder();

// Stamps of a given local time; the overloads without argument take the current time.
struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};
LocalTime Now();
std::string TimeStamp(const LocalTime& t);  // "HH:MM"
std::string TimeStamp();
std::string JapaneseDateStamp(const LocalTime& t);  // "2005年01月09日"
std::string JapaneseDateStamp();
std::string DotDateStamp(const LocalTime& t);  // "2005.01.09"
std::string DotDateStamp();

// Decimal text of an integer, and the integer of a text as the data files read it: a text that
// is not a whole decimal number reads as 0.
std::string IntText(long long n);
int ReadNumber(std::string_view text);

// Rounds to the nearest integer, halves to the even neighbour.
long long RoundHalfEven(double x);
// The same into an int, saturated at its ends (coordinates and sizes of a sheet).
int RoundToInt(double x);

}  // namespace sulkan
