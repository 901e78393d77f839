#include "names/Usearch.h"

TSearch* Search = nullptr;

TSearch::TSearch() : TForm("山名・島名検索") {}
