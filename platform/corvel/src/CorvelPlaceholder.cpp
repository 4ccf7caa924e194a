// Replaced by the Corvel functions.
namespace vela::corvel {}
