// Placeholder translation unit until the writer lands.
namespace folian {
}
