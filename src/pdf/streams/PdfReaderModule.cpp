// The module of the reader of existing PDF files, for a program that loads it when it first reads one.
#include "streams/QpdfSource.h"

extern "C" folian::PdfSource* folian_open_pdf_source(const std::string& path, folian::SourceFailure& failure)
{
    return folian::OpenWithQpdf(path, failure).release();
}
