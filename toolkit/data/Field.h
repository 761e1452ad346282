// TField: one column of a data set's current record, read as float, integer, text, date-time or
// display text according to the field's kind. Fields belong to their data set, are created when
// it opens and freed when it closes.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "toolkit/rtl/SysUtils.h"

class TDataSet;

// Field kinds. A date-time field holds text "yyyy-mm-dd hh:mm:ss" (or a number of days).
enum TFieldType { ftUnknown, ftString, ftInteger, ftFloat, ftDateTime };

// Where a field's value comes from. Query columns are data fields; a reader treats an aggregate
// field's value as a variant (Value) rather than through the typed accessors.
enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };

// A stored value: NULL, integer, real or text.
using TFieldValue = std::variant<std::monostate, long long, double, std::string>;

// A stored value read in place, without a copy: the kind, then the number or a view of the text
// (valid while the data set stays open on the same rows).
struct TFieldCell {
  enum Kind : unsigned char { Null, Integer, Real, Text };
  Kind kind = Null;
  long long integer = 0;
  double real = 0;
  std::string_view text;

  static TFieldCell Of(const TFieldValue& value);
  // The value as a stored value (its text copied).
  TFieldValue ToValue() const;
};

class TField {
 public:
  TField(TDataSet* dataSet, std::string fieldName, TFieldType dataType, int index,
         TFieldKind fieldKind = fkData);
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  const std::string& FieldName() const { return fieldName_; }
  TFieldType DataType() const { return dataType_; }
  TFieldKind FieldKind() const { return fieldKind_; }
  // Position in the data set's field list, from 0.
  int Index() const { return index_; }
  TDataSet* DataSet() const { return dataSet_; }

  // The current record's value; NULL when the data set is closed or has no current record.
  // The reference holds until the data set moves to another record.
  const TFieldValue& Value() const;
  // The same value read in place (no copy of its text): what the typed readers below use.
  TFieldCell Cell() const;
  bool IsNull() const;
  // NULL gives 0. A date-time gives its days since 1899-12-30. Text that is not a number
  // raises EConvertError.
  double AsFloat() const;
  // NULL gives 0; a real value is rounded (halves to even); text must be an integer
  // (EConvertError).
  int AsInteger() const;
  long long AsLargeInt() const;
  // Raises EConvertError when the value is not a date-time.
  TDateTime AsDateTime() const;
  // NULL gives "". Integers in decimal, reals with 15 significant digits, date-times as
  // "yyyy-mm-dd hh:mm:ss", text as stored.
  std::string AsString() const;
  // The text a grid shows: AsString, except that a date-time that cannot be read shows as
  // stored.
  std::string DisplayText() const;

 private:
  TDataSet* dataSet_;
  std::string fieldName_;
  TFieldType dataType_;
  int index_;
  TFieldKind fieldKind_;
};

// Reads "yyyy-mm-dd", "yyyy-mm-dd hh:mm", "yyyy-mm-dd hh:mm:ss" or "...ss.zzz" (a "T" may
// separate date and time) as a TDateTime; false when the text is not such a date-time.
bool TryParseSqlDateTime(std::string_view text, TDateTime& value);
